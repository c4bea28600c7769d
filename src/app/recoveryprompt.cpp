#include "recoveryprompt.h"

#include <QAbstractButton>
#include <QDir>
#include <QLocale>
#include <QMessageBox>

bool RecoveryPrompt::ask(QWidget *parent, const QString &title, const RecoveryFolder &folder,
                         Choice *choice) {
    std::vector<RecoveryFolder::Orphan> left = folder.orphans();
    for (RecoveryFolder::Orphan &orphan : left) {
        auto staged = std::make_unique<KeeperProc>();
        const RecoveryFile::Contents file = RecoveryFile::read(orphan.path, *staged);
        if (!file.ok()) {
            const QString path = orphan.path;
            const QString aside = RecoveryFolder::setAside(orphan);
            QMessageBox::warning(parent, title, damageText(file.status, path, aside));
            continue;
        }
        const QString when = QLocale().toString(file.written.toLocalTime(), QLocale::ShortFormat);
        QMessageBox box(
            QMessageBox::Question, title,
            file.projectPath.isEmpty()
                ? tr("The program was not closed properly. A recovery file written on %1 holds "
                     "the tests and changes of a project that was never saved.")
                      .arg(when)
                : tr("The program was not closed properly. A recovery file written on %1 holds "
                     "unsaved changes of the project %2.")
                      .arg(when, QDir::toNativeSeparators(file.projectPath)),
            QMessageBox::Open | QMessageBox::Discard, parent);
        box.setInformativeText(
            tr("Restore opens them as a modified project; Discard deletes the recovery file."));
        box.button(QMessageBox::Open)->setText(tr("Restore"));
        box.button(QMessageBox::Discard)->setText(tr("Discard"));
        box.setDefaultButton(QMessageBox::Open);
        const int answer = box.exec();
        if (answer == QMessageBox::Open) {
            choice->orphan = std::move(orphan);
            choice->file = file;
            choice->staged = std::move(staged);
            return true;
        }
        // Closed without an answer: kept for the next start.
        if (answer == QMessageBox::Discard)
            RecoveryFolder::discard(orphan);
    }
    return false;
}

QString RecoveryPrompt::damageText(RecoveryFile::Status status, const QString &path,
                                   const QString &aside) {
    const QString shown = QDir::toNativeSeparators(path);
    QString text;
    switch (status) {
    case RecoveryFile::Empty:
        text = tr("The recovery file %1 is empty.").arg(shown);
        break;
    case RecoveryFile::OtherFormat:
        text = tr("The file %1 is not a recovery file of this program.").arg(shown);
        break;
    case RecoveryFile::ProjectDamaged:
        text = tr("The recovery file %1 holds a project that cannot be read.").arg(shown);
        break;
    case RecoveryFile::Unreadable:
        text = tr("The recovery file %1 cannot be read.").arg(shown);
        break;
    case RecoveryFile::Damaged:
    case RecoveryFile::Ok:
        text = tr("The recovery file %1 is incomplete or damaged.").arg(shown);
        break;
    }
    return text + QLatin1Char(' ') +
           (aside.isEmpty() ? tr("It was not opened. It could not be renamed and stays as it is.")
                            : tr("It was not opened and has been renamed to %1.")
                                  .arg(QDir::toNativeSeparators(aside)));
}
