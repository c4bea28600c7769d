#ifndef TESTSETTINGS_H
#define TESTSETTINGS_H

// Points the application's settings at a private, empty folder for the
// lifetime of the object, so that tests never touch the user's settings.

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

class TestSettings {
public:
    TestSettings() {
        QCoreApplication::setOrganizationName(QStringLiteral("Ostrevan"));
        QCoreApplication::setApplicationName(QStringLiteral("Setrovia+"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    }
    QString path() const { return dir_.path(); }
    QString file() const { return dir_.path() + QStringLiteral("/Ostrevan/Setrovia+.conf"); }

private:
    QTemporaryDir dir_;
};

#endif // TESTSETTINGS_H
