#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>
#include <functional>

class KeeperProc;
class QualityFilter;
class ProcessP;
class QLocale;
class QTextStream;

// The commands of setrovia-cli: report, export, protocol and read, run
// without the window but through the same code the window uses, so that the
// numbers, texts and files are the window's own. Output goes to the two
// streams given; the exit status says how it went.
//
// Only the protocol page paints: it needs a QApplication (off screen is
// enough); the other commands run on a QCoreApplication.
class CommandLine {
public:
    enum Status {
        Success = 0,
        WrongUsage = 1,
        ProjectUnreadable = 2, // cannot be opened, wrong format, corrupt
        ReadFailed = 3,        // no instrument, or the read failed
        CannotWrite = 4        // an output file cannot be written
    };

    CommandLine(QTextStream &out, QTextStream &err);

    // arguments: the command line without the program name.
    int run(const QStringList &arguments);

    static QString usage();

    // The value column of the parameters-and-results table as the window
    // shows the record: check boxes as "checked" or "unchecked", rows
    // without a value as "".
    static QStringList tableTexts(const ProcessP &record);
    // Whether the command (the first argument) paints, and so needs a GUI
    // application.
    static bool paints(const QStringList &arguments);
    // "yyyy-MM-ddTHH:mm:ss", empty when the stored date or time is not valid.
    static QString startText(const ProcessP &record);

private:
    struct Project;
    struct Arguments;

    int report(const Arguments &args);
    int exportText(const Arguments &args);
    int protocol(const Arguments &args);
    int read(const Arguments &args);

    // Loads the project; false (after saying why) when it cannot be read.
    bool load(const QString &path, Project &project);
    // Loads the project, finds the record of --test and writes it with
    // write(record, path of option, &error).
    using Writer = std::function<bool(const ProcessP &, const QString &, QString *)>;
    int writeTest(const Arguments &args, const char *option, const Writer &write);
    // Loads the project and finds the record of --test; on failure says why
    // and returns the exit status.
    int loadTest(const Arguments &args, Project &project, const ProcessP **record);
    void writeReport(const Project &project);
    void writeJson(const Project &project);
    // --days and --grade into the filter; a wrong usage otherwise.
    int filterOptions(const Arguments &args, QualityFilter *filter);
    // The quality control of --stats, as text or JSON; commonDays: the
    // duration of hardening most tests use, as the window starts with.
    void writeStatistics(const Project &project, QualityFilter filter, bool json, bool commonDays);
    // The results overview as CSV, into the file at path or, for an empty
    // path, to the output stream.
    int writeCsv(const Project &project, const QLocale &locale, const QString &path);
    // The locale of --locale, else the default one; a wrong usage otherwise.
    int localeOption(const Arguments &args, QLocale *locale);
    int usageError(const QString &text);
    int cannotWrite(const QString &path, const QString &reason);

    QTextStream &out_;
    QTextStream &err_;
};

#endif // COMMANDLINE_H
