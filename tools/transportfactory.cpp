#include "transportfactory.h"

#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"

#include "device/libusbtransport.h"
#include "simulatoroptions.h"
#include "testgenerator.h"

const char SimulatorVariable[] = "SETROVIA_SIMULATOR";

std::unique_ptr<UsbTransport> createTransport(QString *note) {
    note->clear();
    if (!qEnvironmentVariableIsSet(SimulatorVariable))
        return std::make_unique<LibUsbTransport>();
    return createSimulator(qEnvironmentVariable(SimulatorVariable), note);
}

std::unique_ptr<SimulatorTransport> createSimulator(const QString &options, QString *note) {
    SimulatorOptions parsed = SimulatorOptions::parse(options);
    SimulatedInstrument::Setup &setup = parsed.setup;
    const quint8 kind = SimulatedInstrument::kindFor(setup);
    QString source;
    if (!parsed.project.isEmpty()) {
        QString error;
        setup.tests = projectTests(parsed.project, &error);
        source = parsed.project;
        if (!error.isEmpty())
            parsed.errors << error;
    } else {
        setup.tests = TestGenerator::tests(kind, parsed.tests, parsed.seed);
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
                .arg(kind)
                .arg(setup.tests.size())
                .arg(source);
    if (!parsed.plugged)
        *note += QStringLiteral(", unplugged");
    for (const QString &error : parsed.errors)
        *note += QStringLiteral("; ") + error;
    return transport;
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
