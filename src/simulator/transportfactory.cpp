#include "transportfactory.h"

#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"

#include "simulator/simulatoroptions.h"
#include "simulator/testgenerator.h"

const char SimulatorVariable[] = "SETROVIA_SIMULATOR";

std::unique_ptr<UsbTransport> createTransport(QString *note) {
    note->clear();
    if (!qEnvironmentVariableIsSet(SimulatorVariable))
        return createUsbTransport();
    return createSimulator(qEnvironmentVariable(SimulatorVariable), note);
}

std::unique_ptr<SimulatorTransport> createSimulator(const QString &options, QString *note) {
    SimulatorOptions parsed = SimulatorOptions::parse(options);
    SimulatedInstrument::Setup &setup = parsed.setup;
    QString source;
    QStringList leftOut;
    if (!parsed.project.isEmpty()) {
        QString error;
        setup.tests = projectTests(parsed.project, &error);
        source = parsed.project;
        if (!error.isEmpty())
            parsed.errors << error;
        if (!parsed.instrumentGiven && !setup.tests.isEmpty())
            becomeRecorderOf(setup.tests.first().kind, setup);
        leftOut = keepOwnKind(setup, parsed.project);
    } else {
        setup.tests =
            TestGenerator::tests(SimulatedInstrument::kindFor(setup), parsed.tests, parsed.seed);
        source = QStringLiteral("generated, seed %1").arg(parsed.seed);
    }
    auto transport = std::make_unique<SimulatorTransport>();
    const int position = transport->addInstrument(setup);
    transport->setPlugged(position, parsed.plugged);
    transport->setLatencyUs(parsed.latencyUs);
    transport->setTracing(false);
    *note = QStringLiteral("Simulated instrument (%1): %2 generation, kind %3, %4 tests (%5)")
                .arg(QLatin1String(SimulatorVariable))
                .arg(setup.generation == SimulatedInstrument::Generation::Older
                         ? QStringLiteral("older")
                         : QStringLiteral("newer"))
                .arg(SimulatedInstrument::kindFor(setup))
                .arg(setup.tests.size())
                .arg(source);
    if (!parsed.plugged)
        *note += QStringLiteral(", unplugged");
    for (const QString &error : parsed.errors)
        *note += QStringLiteral("; ") + error;
    for (const QString &line : leftOut)
        *note += QLatin1Char('\n') + line;
    return transport;
}

namespace {
// What a test of the kind needs the instrument to be, in words.
QString kindWords(quint8 kind) {
    switch (kind) {
    case 0:
        return QStringLiteral("older instrument, two channels");
    case 1:
        return QStringLiteral("newer instrument, two channels");
    case 2:
        return QStringLiteral("newer instrument, four channels");
    default:
        return QStringLiteral("older instrument, four channels");
    }
}
} // namespace

void becomeRecorderOf(quint8 kind, SimulatedInstrument::Setup &setup) {
    const bool older = kind == 0 || kind == 3;
    setup.generation =
        older ? SimulatedInstrument::Generation::Older : SimulatedInstrument::Generation::Newer;
    if (older)
        setup.version = kind == 0 ? 0x00010001 : 0x00010002;
    else if (kind == 1)
        setup.model = "SETROVIA-DEV-01.10";
}

QStringList keepOwnKind(SimulatedInstrument::Setup &setup, const QString &project) {
    // A test of another kind would be cut to this instrument's block size and
    // read with its channel layout: impossible values. It is left out instead.
    const quint8 kind = SimulatedInstrument::kindFor(setup);
    QStringList lines;
    QVector<InstrumentTest> kept;
    for (int i = 0; i < setup.tests.size(); ++i) {
        const InstrumentTest &test = setup.tests.at(i);
        if (test.kind == kind) {
            kept.append(test);
            continue;
        }
        lines << QStringLiteral("Test %1 of %2 left out: it was recorded by an %3 (kind %4), "
                                "and this simulated instrument is an %5 (kind %6).")
                     .arg(i + 1)
                     .arg(project, kindWords(test.kind))
                     .arg(test.kind)
                     .arg(kindWords(kind))
                     .arg(kind);
    }
    setup.tests = kept;
    return lines;
}

QVector<InstrumentTest> projectTests(const QString &path, QString *error) {
    // The instrument holds the project's tests in file order, as stored.
    KeeperProc store;
    const ProjectFile::Contents contents = ProjectFile::read(path, store);
    if (!contents.ok()) {
        *error = QStringLiteral("cannot load \"%1\": %2").arg(path, contents.message);
        return {};
    }
    QVector<InstrumentTest> tests;
    tests.reserve(store.count());
    for (int i = 0; i < store.count(); ++i) {
        const ProcessP *record = store.at(i);
        tests.append({record->header(), record->kind(), record->samples()});
    }
    return tests;
}
