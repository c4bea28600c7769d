#include "recoveryprompt.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
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
        const auto shown = [](const QDateTime &time) {
            return QLocale().toString(time.toLocalTime(), QLocale::ShortFormat);
        };
        const QString when = shown(file.written);
        QString text =
            file.projectPath.isEmpty()
                ? tr("The program was not closed properly. A recovery file written on %1 holds "
                     "the tests and changes of a project that was never saved.")
                      .arg(when)
                : tr("The program was not closed properly. A recovery file written on %1 holds "
                     "unsaved changes of the project %2.")
                      .arg(when, QDir::toNativeSeparators(file.projectPath));
        if (savedSince(file))
            text += QLatin1Char(' ') +
                    tr("The project file was saved again after that, on %1: restoring and saving "
                       "would replace that version.")
                        .arg(shown(QFileInfo(file.projectPath).lastModified()));
        QMessageBox box(QMessageBox::Question, title, text,
                        QMessageBox::Open | QMessageBox::Discard | QMessageBox::Cancel, parent);
        box.setInformativeText(tr("Restore opens them as a modified project; Discard deletes the "
                                  "recovery file; Decide Later keeps it for the next start."));
        box.button(QMessageBox::Open)->setText(tr("Restore"));
        box.button(QMessageBox::Discard)->setText(tr("Discard"));
        box.button(QMessageBox::Cancel)->setText(tr("Decide Later"));
        box.setDefaultButton(QMessageBox::Open);
        // Escape and closing the box put the question off.
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        if (answer == QMessageBox::Open) {
            choice->orphan = std::move(orphan);
            choice->file = file;
            choice->staged = std::move(staged);
            return true;
        }
        if (answer == QMessageBox::Discard)
            RecoveryFolder::discard(orphan);
    }
    return false;
}

bool RecoveryPrompt::savedSince(const RecoveryFile::Contents &file) {
    const QFileInfo project(file.projectPath);
    // The recovery file keeps whole seconds.
    return !file.projectPath.isEmpty() && project.isFile() &&
           project.lastModified().toSecsSinceEpoch() > file.written.toSecsSinceEpoch();
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
