#include "modbus/c_number.h"

#include <QtGlobal>
#include <cstdlib>
#include <locale.h>

namespace numtext {

double strtodC(const char *text)
{
#ifdef Q_OS_WIN
    static const _locale_t kC = _create_locale(LC_ALL, "C");
    return _strtod_l(text, nullptr, kC);
#else
    static const locale_t kC = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(text, nullptr, kC);
#endif
}

} // namespace numtext
