#include "simulatoroptions.h"

namespace {
using Fault = SimulatedInstrument::Fault;

const int MaxTests = 1000;

bool toNumber(const QString &text, qint64 max, qint64 *out) {
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok, 0); // decimal or 0x...
    if (!ok || v > qulonglong(max))
        return false;
    *out = qint64(v);
    return true;
}

// "CMD" or "CMD@N", for the command faults.
bool toCommand(const QString &text, Fault *fault) {
    const QStringList parts = text.split(QLatin1Char('@'));
    qint64 code = 0;
    qint64 which = -1;
    if (parts.size() > 2 || !toNumber(parts.at(0), 0xFFFFFFFF, &code) ||
        (parts.size() == 2 && !toNumber(parts.at(1), 0xFFFF, &which)))
        return false;
    fault->command = quint32(code);
    fault->which = int(which);
    return true;
}

// "A:B", two small numbers.
bool toPair(const QString &text, int *a, int *b) {
    const QStringList parts = text.split(QLatin1Char(':'));
    qint64 x = 0;
    qint64 y = 0;
    if (parts.size() != 2 || !toNumber(parts.at(0), 0xFFFFFF, &x) ||
        !toNumber(parts.at(1), 0xFFFFFF, &y))
        return false;
    *a = int(x);
    *b = int(y);
    return true;
}
} // namespace

SimulatorOptions SimulatorOptions::parse(const QString &text) {
    SimulatorOptions options;
    for (const QString &item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = item.indexOf(QLatin1Char('='));
        const QString key = item.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        if (eq < 0 || !options.apply(key, item.mid(eq + 1)))
            options.errors << QStringLiteral("ignored \"%1\"").arg(item.trimmed());
    }
    return options;
}

bool SimulatorOptions::apply(const QString &key, const QString &value) {
    qint64 n = 0;
    if (key == QLatin1String("generation") || key == QLatin1String("model") ||
        key == QLatin1String("version"))
        instrumentGiven = true;
    if (key == QLatin1String("generation")) {
        if (value == QLatin1String("newer"))
            setup.generation = SimulatedInstrument::Generation::Newer;
        else if (value == QLatin1String("older"))
            setup.generation = SimulatedInstrument::Generation::Older;
        else
            return false;
    } else if (key == QLatin1String("model")) {
        setup.model = value.toUtf8();
    } else if (key == QLatin1String("ident")) {
        setup.ident = value.toUtf8();
    } else if (key == QLatin1String("version") && toNumber(value, 0xFFFFFFFF, &n)) {
        setup.version = quint32(n);
    } else if (key == QLatin1String("ident-length") && toNumber(value, 0xFFFFFFFF, &n)) {
        setup.identLength = n;
    } else if (key == QLatin1String("latency-us") && toNumber(value, 10000000, &n)) {
        latencyUs = int(n);
    } else if (key == QLatin1String("tests") && toNumber(value, MaxTests, &n)) {
        tests = int(n);
    } else if (key == QLatin1String("seed") && toNumber(value, 0xFFFFFFFF, &n)) {
        seed = quint32(n);
    } else if (key == QLatin1String("project") && !value.isEmpty()) {
        project = value;
    } else if (key == QLatin1String("plugged")) {
        if (value == QLatin1String("yes") || value == QLatin1String("no"))
            plugged = value == QLatin1String("yes");
        else
            return false;
    } else if (key == QLatin1String("unplug-after") && toNumber(value, MaxTests, &n)) {
        setup.unplugAfterTest = int(n);
    } else if (key == QLatin1String("access")) {
        if (value == QLatin1String("granted"))
            setup.access = SimulatedInstrument::Access::Granted;
        else if (value == QLatin1String("denied"))
            setup.access = SimulatedInstrument::Access::Denied;
        else if (value == QLatin1String("read-only"))
            setup.access = SimulatedInstrument::Access::ReadOnly;
        else
            return false;
    } else {
        Fault fault;
        if (key == QLatin1String("fail-write"))
            fault.type = Fault::FailWrite;
        else if (key == QLatin1String("short-write"))
            fault.type = Fault::ShortWrite;
        else if (key == QLatin1String("fail-reply"))
            fault.type = Fault::FailReply;
        else if (key == QLatin1String("short-reply"))
            fault.type = Fault::ShortReply;
        else if (key == QLatin1String("fail-packet"))
            fault.type = Fault::FailPacket;
        else if (key == QLatin1String("short-packet"))
            fault.type = Fault::ShortPacket;
        else
            return false;
        bool ok = false;
        if (fault.type == Fault::FailPacket || fault.type == Fault::ShortPacket) {
            ok = toPair(value, &fault.test, &fault.packet);
        } else if (fault.type == Fault::ShortReply) {
            const int colon = value.lastIndexOf(QLatin1Char(':'));
            ok = colon > 0 && toCommand(value.left(colon), &fault) &&
                 toNumber(value.mid(colon + 1), 0xFFFFFF, &n);
            fault.length = int(n);
        } else {
            ok = toCommand(value, &fault);
        }
        if (!ok)
            return false;
        setup.faults.append(fault);
    }
    return true;
}
