#pragma once
// Writing and removing the ports/COMn links that choose a COM number's device.

#include <QString>

namespace portlinks {

struct Outcome {
    bool ok = false;
    QString path;  // the link concerned
    QString error; // why it failed, naming what was in the way
};

// Makes <dir>/ports/COM<number> lead to target, creating ports/ when needed. The
// link is made under a temporary name and renamed over the old one, so COMn never
// leads nowhere and a failure leaves the old link as it was.
Outcome writeLink(const QString &dir, int number, const QString &target);
Outcome removeLink(const QString &linkPath);

} // namespace portlinks
