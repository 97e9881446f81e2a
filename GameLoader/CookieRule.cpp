#include "CookieRule.h"

#include <wininet.h>

namespace {

// Not in mingw's wininet.h.
constexpr DWORD SuppressCookiePersist = 3;

} // namespace

bool ApplyCookieRule(int installed, InternetOptionSetter setter)
{
    if (installed != 1)
        return false;
    if (!setter)
        setter = &InternetSetOptionW;
    DWORD value = SuppressCookiePersist;
    return setter(nullptr, INTERNET_OPTION_SUPPRESS_BEHAVIOR, &value, sizeof(value)) != FALSE;
}
