#ifndef TESTSETTINGS_H
#define TESTSETTINGS_H

// The application's settings in a private, empty folder while the object lives.

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
