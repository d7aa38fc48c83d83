#pragma once
// Sets the default locale for a scope; the C locale comes back whatever the test did.

#include <QLocale>

namespace testsupport {

struct LocaleGuard {
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
};

} // namespace testsupport
