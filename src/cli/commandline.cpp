#include "commandline.h"

#include "app/russiancatalogues.h"
#include "device/viewerusb.h"
#include "evaluation/activityevaluation.h"
#include "evaluation/qualitystatistics.h"
#include "evaluation/referencetables.h"
#include "evaluation/resultscsv.h"
#include "evaluation/tabletexts.h"
#include "print/protocolpage.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "records/textexport.h"
#include "simulator/transportfactory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QMap>
#include <QTextStream>
#include <memory>

struct CommandLine::Project {
    KeeperProc store;
    QString description;
    QStringList names; // one per record, in store order
};

struct CommandLine::Arguments {
    QString command;
    QStringList positional;
    QMap<QString, QString> options; // "--test" -> "3"
    QStringList flags;              // "--json"
    bool help = false;
    QString error;

    QString option(const char *name) const { return options.value(QLatin1String(name)); }
};

namespace {
// What each command takes; every value option listed is also required except
// those in `optional`.
struct CommandForm {
    const char *name;
    int positional; // the project file, or none
    QStringList values;
    QStringList optional;
    QStringList flags;
};

const QList<CommandForm> &commands() {
    static const QList<CommandForm> specs{
        {"report",
         1,
         {"--output", "--locale", "--language", "--days", "--grade"},
         {"--output", "--locale", "--language", "--days", "--grade"},
         {"--json", "--csv", "--stats"}},
        {"export",
         1,
         {"--test", "--output", "--locale", "--language"},
         {"--locale", "--language"},
         {}},
        {"protocol", 1, {"--test", "--pdf", "--language"}, {"--language"}, {}},
        {"read", 0, {"--output"}, {}, {}},
    };
    return specs;
}

const CommandForm *findCommand(const QString &name) {
    for (const CommandForm &form : commands())
        if (name == QLatin1String(form.name))
            return &form;
    return nullptr;
}

// A JSON string literal, escaped as the toolkit's JSON writer escapes it.
QString quoted(const QString &text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// "1 test", "2 tests".
QString tests(int count, const char *noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun)).arg(count == 1 ? "" : "s");
}

QString quotedList(const QStringList &texts) {
    QStringList items;
    for (const QString &text : texts)
        items << quoted(text);
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// The reader's diagnostic lines are the window's: the tool's output is its
// own, and the reader's progress and messages reach standard error as such.
class QuietReader {
public:
    QuietReader() : was_(ViewerUsb::setDiagnostics(false)) {}
    ~QuietReader() { ViewerUsb::setDiagnostics(was_); }
    QuietReader(const QuietReader &) = delete;
    QuietReader &operator=(const QuietReader &) = delete;

private:
    bool was_;
};

// Why a file cannot be opened for reading, in the system's words.
QString openFailure(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return QFileInfo(path).isFile() ? QStringLiteral("it cannot be read")
                                    : QStringLiteral("not a regular file");
}

// Why no file can be made at path: its nearest folder that exists is not a
// folder, or the one that should hold it is missing.
QString folderFailure(const QString &path) {
    QFileInfo folder(QFileInfo(path).absolutePath());
    QFileInfo missing = folder;
    while (!folder.exists() && !folder.isRoot()) {
        missing = folder;
        folder = QFileInfo(folder.absolutePath());
    }
    if (folder == QFileInfo(QFileInfo(path).absolutePath()) && folder.isDir())
        return QString();
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder.absoluteFilePath());
    return QStringLiteral("the folder %1 does not exist").arg(missing.absoluteFilePath());
}

} // namespace

CommandLine::CommandLine(QTextStream &out, QTextStream &err) : out_(out), err_(err) {}

QString CommandLine::usage() {
    return QStringLiteral(
        "Usage:\n"
        "  setrovia-cli report PROJECT.vtl [--json] [--language ru|en]\n"
        "  setrovia-cli report PROJECT.vtl --csv [--output FILE.csv] [--locale NAME]\n"
        "               [--language ru|en]\n"
        "  setrovia-cli report PROJECT.vtl --stats [--days D] [--grade M-400] [--json]\n"
        "               [--language ru|en]\n"
        "  setrovia-cli export PROJECT.vtl --test N --output FILE.txt [--locale NAME]\n"
        "               [--language ru|en]\n"
        "  setrovia-cli protocol PROJECT.vtl --test N --pdf FILE.pdf [--language ru|en]\n"
        "  setrovia-cli read --output PROJECT.vtl\n"
        "  setrovia-cli --help\n"
        "\n"
        "report    the parameters and results of every test (--json: one JSON object;\n"
        "          --csv: the results overview as Export CSV writes it, to FILE or to\n"
        "          standard output; separator and decimals as the locale NAME writes\n"
        "          numbers, default the system locale; --stats: the quality control of\n"
        "          the tests of D days of hardening (default: the duration most tests\n"
        "          use) and of one grade (default: any), as the results window shows it)\n"
        "export    the series of test N as tab-separated text, as Export to txt writes it;\n"
        "          numbers in the locale NAME (default: the system locale)\n"
        "protocol  the protocol page of test N as a PDF file (landscape A4)\n"
        "read      reads every test from the instrument (or the simulated one that\n"
        "          SETROVIA_SIMULATOR describes) and adds the new ones to the project,\n"
        "          creating it when missing; progress goes to standard error\n"
        "\n"
        "N is the test's row in the project, counted from 0. --language gives the\n"
        "language of the texts (table, protocol page, column titles); without it the\n"
        "language the program has stored in its settings (English when none).\n"
        "Exit status: 0 success, 1 wrong usage, 2 the project file cannot be read,\n"
        "3 no instrument or the read failed, 4 an output file cannot be written.\n");
}

bool CommandLine::paints(const QStringList &arguments) {
    return !arguments.isEmpty() && arguments.first() == QLatin1String("protocol") &&
           !arguments.contains(QStringLiteral("--help")) &&
           !arguments.contains(QStringLiteral("-h"));
}

int CommandLine::run(const QStringList &arguments) {
    Arguments args;
    const CommandForm *form = nullptr;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            args.help = true;
            continue;
        }
        if (!form && args.command.isEmpty()) {
            args.command = arg;
            form = findCommand(arg);
            if (!form && !arg.startsWith(QLatin1Char('-')))
                args.error = QStringLiteral("Unknown command \"%1\".").arg(arg);
            else if (!form)
                args.error = QStringLiteral("The command comes first, before \"%1\".").arg(arg);
            continue;
        }
        if (!form)
            continue;
        if (!arg.startsWith(QLatin1String("--"))) {
            args.positional << arg;
            continue;
        }
        const int eq = arg.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (form->flags.contains(name) && eq < 0) {
            args.flags << name;
        } else if (form->values.contains(name)) {
            if (args.options.contains(name)) {
                args.error = QStringLiteral("%1 is given twice.").arg(name);
            } else if (eq >= 0) {
                args.options.insert(name, arg.mid(eq + 1));
            } else if (i + 1 < arguments.size() &&
                       !arguments.at(i + 1).startsWith(QLatin1String("--"))) {
                args.options.insert(name, arguments.at(++i));
            } else {
                args.error = QStringLiteral("%1 needs a value.").arg(name);
            }
        } else if (args.error.isEmpty()) {
            args.error = QStringLiteral("\"%1\" is not an option of %2.").arg(arg, args.command);
        }
    }
    if (args.help) {
        out_ << usage();
        out_.flush();
        return Success;
    }
    if (args.command.isEmpty()) {
        err_ << usage();
        err_.flush();
        return WrongUsage;
    }
    if (!args.error.isEmpty())
        return usageError(args.error);
    if (args.positional.size() != form->positional)
        return usageError(form->positional == 1
                              ? QStringLiteral("%1 takes one project file.").arg(args.command)
                              : QStringLiteral("%1 takes no file name; the project is given "
                                               "with --output.")
                                    .arg(args.command));
    for (const QString &name : form->values)
        if (!form->optional.contains(name) && !args.options.contains(name))
            return usageError(QStringLiteral("%1 needs %2.").arg(args.command, name));

    // The texts speak the window's language: the one asked for, else the one
    // the program has stored.
    std::unique_ptr<RussianCatalogues> russian;
    if (form->values.contains(QStringLiteral("--language"))) {
        const QString language = args.options.value(
            QStringLiteral("--language"),
            RussianCatalogues::russianStored() ? QStringLiteral("ru") : QStringLiteral("en"));
        if (language != QLatin1String("ru") && language != QLatin1String("en"))
            return usageError(
                QStringLiteral("--language %1: the languages are ru and en.").arg(language));
        if (language == QLatin1String("ru"))
            russian = std::make_unique<RussianCatalogues>();
    }

    if (args.command == QLatin1String("report"))
        return report(args);
    if (args.command == QLatin1String("export"))
        return exportText(args);
    if (args.command == QLatin1String("protocol"))
        return protocol(args);
    return read(args);
}

int CommandLine::usageError(const QString &text) {
    err_ << "setrovia-cli: " << text << "\nRun \"setrovia-cli --help\" for the usage." << Qt::endl;
    return WrongUsage;
}

int CommandLine::cannotWrite(const QString &path, const QString &reason) {
    err_ << QStringLiteral("Can not write %1: %2").arg(path, reason) << Qt::endl;
    return CannotWrite;
}

bool CommandLine::load(const QString &path, Project &project) {
    const ProjectFile::Contents file = ProjectFile::read(path, project.store);
    if (!file.ok()) {
        // The window's fixed text names neither the file nor the reason.
        if (file.status == ProjectFile::CannotOpen)
            err_ << QStringLiteral("Can not open %1: %2").arg(path, openFailure(path)) << Qt::endl;
        else
            err_ << file.message << Qt::endl;
        return false;
    }
    project.description = file.description;
    if (file.strengthsDamaged)
        err_ << ProjectFile::strengthsMessage(path) << Qt::endl;
    // The rows the window would show: the records the store took, each with
    // the name piece of its place in the file.
    for (int j = 0; j < file.appended.size(); ++j)
        if (file.appended.at(j))
            project.names << file.nameOf(j);
    return true;
}

int CommandLine::loadTest(const Arguments &args, Project &project, const ProcessP **record) {
    if (!load(args.positional.at(0), project))
        return ProjectUnreadable;
    bool ok = false;
    const QString text = args.option("--test");
    const int row = text.toInt(&ok);
    const int count = project.store.count();
    if (!ok)
        return usageError(QStringLiteral("--test %1: \"%1\" is not a row number.").arg(text));
    if (row < 0 || row >= count)
        return usageError(count == 0
                              ? QStringLiteral("--test %1: the project holds no tests.").arg(text)
                              : QStringLiteral("--test %1: the project holds %2, rows 0 to %3.")
                                    .arg(text, tests(count, "test"))
                                    .arg(count - 1));
    *record = project.store.at(row);
    return Success;
}

QStringList CommandLine::tableTexts(const ProcessP &record) {
    const TableTexts table(record);
    QStringList texts;
    for (int row = 0; row < TableTexts::RowCount; ++row) {
        if (TableTexts::isCheckBox(row))
            texts << (table.checked(row) ? QStringLiteral("checked") : QStringLiteral("unchecked"));
        else
            texts << (table.filled(row) ? table.value(row) : QString());
    }
    return texts;
}

QString CommandLine::startText(const ProcessP &record) {
    const QDate date(2000 + record.startYear(), record.startMonth(), record.startDay());
    const QTime time(record.startHour(), record.startMinute(), record.startSecond());
    if (!date.isValid() || !time.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('T') +
           time.toString(QStringLiteral("HH:mm:ss"));
}

// --- report ---------------------------------------------------------------------

int CommandLine::report(const Arguments &args) {
    const bool csv = args.flags.contains(QLatin1String("--csv"));
    const bool stats = args.flags.contains(QLatin1String("--stats"));
    if (csv && (args.flags.contains(QLatin1String("--json")) || stats))
        return usageError(QStringLiteral("report takes --csv alone, without --json or --stats."));
    for (const char *option : {"--days", "--grade"})
        if (!stats && args.options.contains(QLatin1String(option)))
            return usageError(QStringLiteral("%1 goes with --stats.").arg(QLatin1String(option)));
    QualityFilter filter;
    if (stats)
        if (const int status = filterOptions(args, &filter))
            return status;
    for (const char *option : {"--output", "--locale"})
        if (!csv && args.options.contains(QLatin1String(option)))
            return usageError(QStringLiteral("%1 goes with --csv.").arg(QLatin1String(option)));
    QLocale locale;
    if (const int status = localeOption(args, &locale))
        return status;
    Project project;
    if (!load(args.positional.at(0), project))
        return ProjectUnreadable;
    if (csv)
        return writeCsv(project, locale, args.option("--output"));
    if (stats)
        writeStatistics(project, filter, args.flags.contains(QLatin1String("--json")),
                        !args.options.contains(QStringLiteral("--days")));
    else if (args.flags.contains(QLatin1String("--json")))
        writeJson(project);
    else
        writeReport(project);
    out_.flush();
    // A report that did not arrive (a full disk) is no success.
    if (out_.status() != QTextStream::Ok)
        return cannotWrite(QStringLiteral("standard output"),
                           out_.device() ? out_.device()->errorString() : QString());
    return Success;
}

int CommandLine::writeCsv(const Project &project, const QLocale &locale, const QString &path) {
    QVector<ResultsRow> rows;
    for (int i = 0; i < project.store.count(); ++i)
        rows.append(ResultsRow(*project.store.at(i), project.names.value(i)));
    if (!path.isEmpty()) {
        const AtomicSave saved = ResultsCsv::write(path, rows, locale);
        return saved.ok() ? int(Success) : cannotWrite(path, saved.error);
    }
    // Byte for byte what the file would hold, mark and line ends included.
    const QByteArray bytes = ResultsCsv::bytes(rows, locale);
    out_.flush();
    if (QIODevice *device = out_.device()) {
        // A full disk or a closed pipe shows only when the buffer goes out.
        auto *file = qobject_cast<QFileDevice *>(device);
        if (device->write(bytes) != bytes.size() || (file && !file->flush()))
            return cannotWrite(QStringLiteral("standard output"), device->errorString());
    } else {
        out_ << QString::fromUtf8(bytes);
        out_.flush();
    }
    return Success;
}

int CommandLine::filterOptions(const Arguments &args, QualityFilter *filter) {
    if (args.options.contains(QStringLiteral("--days"))) {
        const QString days = args.option("--days");
        filter->hardeningIndex = -1;
        for (int i = 0; i < ReferenceTables::Columns; ++i)
            if (days == QString::number(ReferenceTables::hardeningDays[i]))
                filter->hardeningIndex = i;
        if (filter->hardeningIndex < 0)
            return usageError(
                QStringLiteral("--days %1: one of 7, 14, 28, 60, 90, 180, 360.").arg(days));
    }
    if (args.options.contains(QStringLiteral("--grade"))) {
        const QString grade = args.option("--grade");
        for (int i = 0; i < 7; ++i)
            if (grade.compare(QStringLiteral("M-%1").arg((i + 1) * 100), Qt::CaseInsensitive) == 0)
                filter->grade = i;
        if (grade.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0)
            filter->grade = 7;
        if (filter->grade < 0)
            return usageError(
                QStringLiteral("--grade %1: one of M-100 to M-700, or unknown.").arg(grade));
    }
    return Success;
}

void CommandLine::writeStatistics(const Project &project, QualityFilter filter, bool json,
                                  bool commonDays) {
    QVector<ResultsRow> rows;
    for (int i = 0; i < project.store.count(); ++i)
        rows.append(ResultsRow(*project.store.at(i), project.names.value(i)));
    // The window's default: the duration most tests use.
    if (commonDays)
        filter.hardeningIndex = QualityFilter::commonHardeningIndex(rows);
    const QualityStatistics statistics(rows, filter);
    if (json)
        out_ << QString::fromUtf8(statistics.json());
    else
        out_ << statistics.text();
}

void CommandLine::writeReport(const Project &project) {
    QStringList labels;
    for (int row = 0; row < TableTexts::RowCount; ++row)
        labels << TableTexts::label(row);
    int width = 0;
    for (const QString &label : labels)
        width = qMax(width, label.size());

    out_ << "Project description:";
    if (project.description.isEmpty())
        out_ << " (none)";
    else
        for (const QString &line : project.description.split(QLatin1Char('\n')))
            out_ << "\n  " << line;
    out_ << "\n" << tests(project.store.count(), "test") << "\n";

    for (int i = 0; i < project.store.count(); ++i) {
        ProcessP *record = project.store.at(i);
        const QString start = startText(*record);
        out_ << "\nTest " << i;
        if (!project.names.value(i).isEmpty())
            out_ << ": " << project.names.value(i);
        out_ << "\n  " << QStringLiteral("Start").leftJustified(width) << "  "
             << (start.isEmpty() ? QStringLiteral("(not a valid date)")
                                 : QString(start).replace(QLatin1Char('T'), QLatin1Char(' ')))
             << "\n  " << QStringLiteral("Instrument kind").leftJustified(width) << "  "
             << int(record->kind()) << "\n  " << QStringLiteral("Points").leftJustified(width)
             << "  " << record->pointCount() << "\n";
        const QStringList values = tableTexts(*record);
        for (int row = 0; row < TableTexts::RowCount; ++row) {
            if (labels.at(row).isEmpty())
                out_ << "\n";
            else
                out_ << "  " << labels.at(row).leftJustified(width) << "  " << values.at(row)
                     << "\n";
        }
    }
}

void CommandLine::writeJson(const Project &project) {
    out_ << "{\n  \"description\": " << quoted(project.description) << ",\n  \"tests\": [";
    for (int i = 0; i < project.store.count(); ++i) {
        ProcessP *record = project.store.at(i);
        const ActivityEvaluation evaluation(*record);
        out_ << (i ? ",\n    " : "\n    ") << "{\"row\": " << i
             << ", \"name\": " << quoted(project.names.value(i))
             << ", \"start\": " << quoted(startText(*record))
             << ", \"kind\": " << int(record->kind()) << ", \"duration\": " << record->duration()
             << ", \"period\": " << record->period() << ", \"points\": " << record->pointCount()
             << ", \"startIndex\": " << record->startIndex()
             << ", \"table\": " << quotedList(tableTexts(*record))
             << ", \"protocol\": {\"parameters\": " << quotedList(evaluation.parameterTexts())
             << ", \"results\": " << quotedList(evaluation.resultTexts()) << "}}";
    }
    out_ << (project.store.count() ? "\n  ]\n}\n" : "]\n}\n");
}

// --- export and protocol ------------------------------------------------------------

int CommandLine::localeOption(const Arguments &args, QLocale *locale) {
    // The window writes numbers as its locale does, which is the default one.
    *locale = QLocale();
    if (args.options.contains(QStringLiteral("--locale"))) {
        const QString name = args.option("--locale");
        *locale = QLocale(name);
        // An unknown name gives the C locale: say so rather than write other numbers.
        if (locale->language() == QLocale::C && name != QLatin1String("C") &&
            name != QLatin1String("POSIX"))
            return usageError(QStringLiteral("--locale %1: not a locale name (for example "
                                             "en_US, de_DE, ru_RU, C).")
                                  .arg(name));
    }
    return Success;
}

int CommandLine::exportText(const Arguments &args) {
    QLocale locale;
    if (const int status = localeOption(args, &locale))
        return status;
    return writeTest(args, "--output",
                     [&locale](const ProcessP &record, const QString &path, QString *error) {
                         return TextExport::write(path, record, locale, error);
                     });
}

int CommandLine::protocol(const Arguments &args) {
    return writeTest(args, "--pdf",
                     [](const ProcessP &record, const QString &path, QString *error) {
                         return ProtocolPage::writePdf({&record}, path, error);
                     });
}

int CommandLine::writeTest(const Arguments &args, const char *option, const Writer &write) {
    Project project;
    const ProcessP *record = nullptr;
    if (const int status = loadTest(args, project, &record))
        return status;
    const QString path = args.option(option);
    QString error;
    return write(*record, path, &error) ? int(Success) : cannotWrite(path, error);
}

// --- read ---------------------------------------------------------------------------

int CommandLine::read(const Arguments &args) {
    const QString path = args.option("--output");
    Project project;
    const QFileInfo target(path);
    const bool existed = target.exists() || target.isSymLink();
    if (existed && !load(path, project))
        return ProjectUnreadable;
    // Reading may take minutes: a file that can never be written is refused
    // before the instrument is touched.
    if (!existed) {
        const QString failure = folderFailure(path);
        if (!failure.isEmpty())
            return cannotWrite(path, failure);
    }
    const int before = project.store.count();

    ViewerUsb::ReadReport report;
    {
        QuietReader quiet;
        QString note;
        ViewerUsb viewer(createTransport(&note));
        if (!note.isEmpty())
            err_ << note << Qt::endl;
        viewer.setKeeper(&project.store);
        // The viewer is driven here, in this thread: its signals arrive at once.
        QObject::connect(&viewer, &ViewerUsb::sendMes,
                         [this](const QString &text) { err_ << text << Qt::endl; });
        QObject::connect(&viewer, &ViewerUsb::readProgress,
                         [this](int test, int count, int packet, int packets) {
                             if (packet == 0 || packet == packets)
                                 err_ << QStringLiteral("Test %1 of %2, packet %3 of %4")
                                             .arg(test)
                                             .arg(count)
                                             .arg(packet)
                                             .arg(packets)
                                      << Qt::endl;
                         });
        viewer.checkPresentDev();
        viewer.readDevices();
        report = viewer.lastReport();
    }
    if (report.result == ViewerUsb::ReadResult::NoInstrument) {
        err_ << "No instrument found." << Qt::endl;
        return ReadFailed;
    }

    const int added = project.store.count() - before;
    for (int i = 0; i < added; ++i)
        project.names << QString();
    const bool complete = report.result == ViewerUsb::ReadResult::Complete;
    // An existing project without new tests is left untouched; a missing one
    // is created once the instrument has been read in full.
    if (added > 0 || (!existed && complete)) {
        const ProjectFile::Result saved =
            ProjectFile::save(path, project.store, project.description, project.names);
        if (!saved.ok())
            return cannotWrite(path, saved.reason.isEmpty() ? saved.message : saved.reason);
        err_ << QStringLiteral("%1 saved; %2 holds %3.")
                    .arg(tests(added, "new test"), path, tests(project.store.count(), "test"))
             << Qt::endl;
    }
    // One line that says how the read went, and what became of the file.
    if (report.full) {
        err_ << QStringLiteral("The project holds %1 tests, as many as a project file can take: "
                               "%2 stayed on the instrument.")
                    .arg(KeeperProc::MaxRecords)
                    .arg(tests(int(report.notRead()), "test"))
             << Qt::endl;
    } else if (complete) {
        if (added == 0 && existed)
            err_ << QStringLiteral("No new tests; %1 was not written.").arg(path) << Qt::endl;
    } else if (added > 0) {
        err_ << QStringLiteral("The read did not bring every test (%1 not read); the tests read "
                               "in full are saved.")
                    .arg(report.notRead())
             << Qt::endl;
    } else if (report.permission) {
        err_ << QStringLiteral("No permission to use the instrument: nothing was read, and %1 "
                               "was not written.")
                    .arg(path)
             << Qt::endl;
    } else {
        err_ << QStringLiteral("The read failed before any new test arrived; %1 was not written.")
                    .arg(path)
             << Qt::endl;
    }
    if (!complete)
        return ReadFailed;
    return Success;
}
