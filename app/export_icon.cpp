// rv4820-icon DIR SIZE...: writes the window's icon as DIR/<size>x<size>/apps/rv4820-tool.png,
// so the desktop menu shows the very drawing the window carries. Run by the build, offscreen.

#include "app/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char *argv[])
{
    const QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("usage: rv4820-icon DIR SIZE...\n", stderr);
        return 2;
    }
    for (const QString &text : args.mid(1)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args.first()).arg(size);
        // A failed write must fail the build, not leave an icon missing from the package.
        if (!ok || size < 16 || size > 1024 || !QDir().mkpath(dir) ||
            !artwork::applicationIcon(size).save(dir + QStringLiteral("/rv4820-tool.png"))) {
            std::fprintf(stderr, "rv4820-icon: cannot write the %s px icon into %s\n",
                         qPrintable(text), qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
