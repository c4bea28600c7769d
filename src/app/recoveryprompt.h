#ifndef RECOVERYPROMPT_H
#define RECOVERYPROMPT_H

#include "records/keeperproc.h"
#include "records/recoveryfile.h"
#include "records/recoveryfolder.h"

#include <QCoreApplication>
#include <memory>

class QWidget;

// The question at start about the recovery files that instances left behind
// when they ended without closing (a crash, a power cut), newest first. A
// sound file is offered with when it was written and for which project:
// Restore, Discard (which deletes it) or Decide Later (Escape, closing). A damaged, empty or
// foreign file is reported and renamed aside, never opened and never deleted.
class RecoveryPrompt {
    Q_DECLARE_TR_FUNCTIONS(RecoveryPrompt)
public:
    struct Choice {
        RecoveryFolder::Orphan orphan; // still locked: delete it once restored
        RecoveryFile::Contents file;
        std::unique_ptr<KeeperProc> staged; // its tests
    };

    // True when the user chose to restore one (the others left over wait for
    // the next start); false when none is left or none was chosen.
    static bool ask(QWidget *parent, const QString &title, const RecoveryFolder &folder,
                    Choice *choice);

    // Whether the project's file was written after the recovery file (by a
    // later save, here or elsewhere).
    static bool savedSince(const RecoveryFile::Contents &file);

    // What the user is told about a file that cannot be restored.
    static QString damageText(RecoveryFile::Status status, const QString &path,
                              const QString &aside);
};

#endif // RECOVERYPROMPT_H
