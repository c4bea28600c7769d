#include "mainwindow.h"

#include "app/defaultlayout.h"
#include "app/langugebox.h"
#include "app/procdelegate.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "app/projectdrop.h"
#include "app/projectsession.h"
#include "app/recentprojects.h"
#include "app/recoveryprompt.h"
#include "app/russiancatalogues.h"
#include "charts/plottabs.h"
#include "evaluation/resultsrow.h"
#include "print/printdialog.h"
#include "print/protocolpage.h"
#include "print/protocolpreview.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "records/recoverykeeper.h"
#include "records/textexport.h"
#include "results/resultswindow.h"
#include "simulator/transportfactory.h"
#include "table/dialogtab.h"
#include "table/monitor.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardItem>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTime>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace {
const int MessageLogLimit = 1000;

QWidget *wrap(QWidget *contents) {
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(contents);
    return box;
}
} // namespace

static void initLibraryResources() {
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(translations);
}

void MainWindow::initResources() {
    // The resources live in a static library: pull them in explicitly.
    static bool done = false;
    if (!done) {
        initLibraryResources();
        done = true;
    }
}

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) {
    initResources();
    session = new ProjectSession(this);
    createActions();
    createDocks();
    createMenus();
    createToolBar();
    createShortcuts();
    createProjectHelpers();

    reader.setKeeper(&keeper);
    // The simulated instrument when SETROVIA_SIMULATOR asks for it, else libusb.
    QString transportNote;
    reader.setTransport(createTransport(&transportNote));
    if (!transportNote.isEmpty())
        message(transportNote);
    readBar = new QProgressBar;
    readBar->setMaximumWidth(320);
    readBar->hide();
    statusBar()->addPermanentWidget(readBar);
    // How the last read went stays in sight until the next read: a widget of
    // its own, which menu status tips do not wipe out.
    readOutcomeLabel = new QLabel;
    statusBar()->addWidget(readOutcomeLabel, 1);
    // Unsaved work without a recovery file: in sight until a write succeeds.
    unprotectedIcon = new QLabel;
    unprotectedIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16));
    unprotectedLabel = new QLabel;
    for (QLabel *label : {unprotectedIcon, unprotectedLabel}) {
        label->hide();
        statusBar()->addPermanentWidget(label);
    }
    connect(recovery, &RecoveryKeeper::protectionChanged, this, &MainWindow::showProtection);
    reading = false;
    timer.setInterval(500);
    timer.setSingleShot(false);
    reader.start(QThread::InheritPriority);

    connect(&reader, &ViewerUsb::activateUsbButton, this, &MainWindow::activateUsbButton);
    connect(&reader, &ViewerUsb::readEnd, this, &MainWindow::readEnd);
    connect(&reader, &ViewerUsb::sendMes, this, &MainWindow::message);
    connect(this, &MainWindow::readDevSignal, &reader, &ViewerUsb::readDevices);
    connect(&timer, &QTimer::timeout, &reader, &ViewerUsb::checkPresentDev);
    connect(&reader, &ViewerUsb::addedNewProc, this, &MainWindow::addProc);
    connect(&reader, &ViewerUsb::readProgress, this, &MainWindow::readProgress);
    connectDescriptions();
    connect(&keeper, &KeeperProc::sendMessage, this, &MainWindow::message);

    plotTabs = new QTabWidget(this);
    setCentralWidget(plotTabs);
    graphs = new PlotTabs(plotTabs, this);
    graphs->setImageTarget([this] { return plotImageTarget(); });

    timer.start();
    currentProc = -1;
    readSettings();
}

MainWindow::~MainWindow() {
    // A read under way is cut short at its next transfer; the thread must be
    // gone before the reader and the store it fills are destroyed.
    timer.stop();
    reader.shutdown();
    // The overview reads the store: it goes first.
    delete results;
    writeSettings();
    std::printf("MainWindow::~MainWindow()\n");
    std::fflush(stdout);
}

void MainWindow::setTitle(const QString &title) {
    appTitle = title;
    setWindowTitle(title);
}

void MainWindow::createActions() {
    auto make = [this](const QString &text, const char *icon, bool enabled) {
        QAction *a = icon ? new QAction(QIcon(QString::fromLatin1(icon)), text, this)
                          : new QAction(text, this);
        a->setEnabled(enabled);
        return a;
    };
    readAct = make(tr("Read device"), ":/image/read.ico", false);
    readAct->setIconVisibleInMenu(true);
    updateReadTip();
    connect(readAct, &QAction::triggered, this, &MainWindow::readDevice);
    saveAct = make(tr("Save project"), ":/image/save.ico", false);
    connect(saveAct, &QAction::triggered, this, qOverload<>(&MainWindow::saveProject));
    saveAsAct = make(tr("Save project as..."), ":/image/save.ico", false);
    connect(saveAsAct, &QAction::triggered, this, &MainWindow::saveAsProject);
    openAct = make(tr("Open project"), ":/image/open.ico", true);
    connect(openAct, &QAction::triggered, this, &MainWindow::openProject);
    aboutAct = make(tr("About"), ":/image/about.ico", true);
    connect(aboutAct, &QAction::triggered, this, &MainWindow::about);
    rusAct = make(tr("Russian"), ":/image/russia-flag.ico", true);
    rusAct->setCheckable(true);
    connect(rusAct, &QAction::triggered, this, &MainWindow::setLanguage);
    engAct = make(tr("English"), ":/image/united-kingdom-flag.ico", true);
    engAct->setCheckable(true);
    connect(engAct, &QAction::triggered, this, &MainWindow::setLanguage);
    auto *languages = new QActionGroup(this);
    languages->setExclusive(true);
    languages->addAction(rusAct);
    languages->addAction(engAct);
    activAct = make(tr("Activity"), nullptr, true);
    connect(activAct, &QAction::triggered, this, &MainWindow::showActivTab);
    udelAct = make(tr("Specific contraction"), nullptr, true);
    connect(udelAct, &QAction::triggered, this, &MainWindow::showActivTab);
    closeAct = make(tr("Close project"), nullptr, false);
    connect(closeAct, &QAction::triggered, this, &MainWindow::closeProject);
    exitAct = make(tr("Exit"), nullptr, true);
    connect(exitAct, &QAction::triggered, this, &MainWindow::close);
    printAct = make(tr("Print"), ":/image/print.ico", true);
    connect(printAct, &QAction::triggered, this, &MainWindow::print);
    helpAct = make(tr("Help"), nullptr, true);
    connect(helpAct, &QAction::triggered, this, &MainWindow::help);
    defaultAct = make(tr("Default"), nullptr, true);
    connect(defaultAct, &QAction::triggered, this, &MainWindow::defaultView);
    addAct = make(tr("Add project"), nullptr, true);
    connect(addAct, &QAction::triggered, this, &MainWindow::addProject);
    exportAct = make(tr("Export to txt"), ":/image/txt_9523.ico", false);
    connect(exportAct, &QAction::triggered, this, &MainWindow::exportToTxt);
    resultsAct = make(tr("Results of all tests"), ":/image/results.ico", true);
    connect(resultsAct, &QAction::triggered, this, &MainWindow::showResults);
}

void MainWindow::createShortcuts() {
    openAct->setShortcuts(QKeySequence::Open);
    saveAct->setShortcuts(QKeySequence::Save);
    // Fixed sequences where the platform's standard is missing (Save as
    // outside GNOME and KDE) or differs from what users expect here (Close is
    // Ctrl+F4 on some desktops).
    saveAsAct->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    printAct->setShortcuts(QKeySequence::Print);
    closeAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    readAct->setShortcuts(QKeySequence::Refresh);
    helpAct->setShortcuts(QKeySequence::HelpContents);

    // Delete removes the selected test only while the list has the focus:
    // elsewhere (the description editors, a name being edited) it deletes
    // characters. Only the primary binding: some desktops add Ctrl+D.
    deleteAct = new QAction(tr("Delete test"), this);
    deleteAct->setShortcut(QKeySequence(QKeySequence::Delete));
    deleteAct->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(deleteAct, &QAction::triggered, this, &MainWindow::deleteSelProc);
    procList->addAction(deleteAct);
    fileMenu->insertAction(closeAct, deleteAct);
    // Greyed while the list is empty.
    const auto listChanged = [this] { deleteAct->setEnabled(procModel->rowCount() > 0); };
    connect(procModel, &QAbstractItemModel::rowsInserted, this, listChanged);
    connect(procModel, &QAbstractItemModel::rowsRemoved, this, listChanged);
    connect(procModel, &QAbstractItemModel::modelReset, this, listChanged);
    listChanged();
}

void MainWindow::createProjectHelpers() {
    recent = new RecentProjects(fileMenu, addAct, this);
    connect(recent, &RecentProjects::chosen, this, &MainWindow::openRecentProject);
    auto *drop = new ProjectDrop(this);
    connect(drop, &ProjectDrop::dropped, this, &MainWindow::projectDropped);

    // The recovery file follows the modified state: kept while there are
    // unsaved changes, gone once they are saved or given up.
    recovery = new RecoveryKeeper(
        [this](QString *path, QByteArray *image, QString *error) {
            storeCurrentNote();
            *path = session->path();
            // Not a save: the store's lines about it stay out of the log.
            const QSignalBlocker quiet(&keeper);
            const ProjectFile::Result made =
                ProjectFile::image(keeper, projectDesc->toPlainText(), rowNames(), image);
            *error = made.message;
            return made.ok();
        },
        this);
    connect(recovery, &RecoveryKeeper::failed, this, &MainWindow::message);
    // Only the project's state decides: a saved or closed project's file goes.
    connect(session, &ProjectSession::modifiedChanged, this, [this](bool modified) {
        saveAct->setEnabled(modified);
        if (modified)
            recovery->changed();
        else
            recovery->discard();
    });
    // A read's tests are written as soon as it ends (and within the delay
    // while it runs).
    connect(&reader, &ViewerUsb::addedNewProc, recovery, [this] {
        testsArrived = true;
        recovery->changed();
    });
    connect(&reader, &ViewerUsb::readEnd, recovery, [this] {
        if (testsArrived && isModified())
            recovery->writeNow();
        testsArrived = false;
    });
}

bool MainWindow::offerRecovery() {
    RecoveryPrompt::Choice chosen;
    if (!RecoveryPrompt::ask(this, appTitle, recovery->folder(), &chosen) || refuseWhileReading() ||
        !maybeSave())
        return false; // the file stays for the next start
    showProject(*chosen.staged, chosen.file.project, chosen.file.projectPath);
    // Saved again after the crash: the next save asks before replacing it.
    if (RecoveryPrompt::savedSince(chosen.file))
        session->setFile(chosen.file.projectPath, ProjectSession::Fingerprint());
    changedProc();
    // The old file goes only once this instance's own holds the work.
    if (recovery->writeNow())
        RecoveryFolder::discard(chosen.orphan);
    return true;
}

void MainWindow::startUp(const QString &project) {
    if (!offerRecovery() && !project.isEmpty())
        openProjectFile(project);
}

QString MainWindow::projectFilePath() const {
    return session->path();
}

QString MainWindow::recoveryWarning() const {
    return unprotectedLabel->isHidden() ? QString() : unprotectedLabel->text();
}

void MainWindow::showProtection(const QString &error) {
    unprotectedLabel->setText(tr("Unsaved changes are not protected against a crash"));
    unprotectedLabel->setToolTip(error);
    unprotectedIcon->setToolTip(error);
    unprotectedIcon->setVisible(!error.isNull());
    unprotectedLabel->setVisible(!error.isNull());
}

void MainWindow::projectDropped(ProjectDrop::Request request, const QString &path) {
    // Judged at the drop, done once it has ended: a question inside the drop
    // would keep the program the file came from waiting.
    const bool refused = reading;
    QTimer::singleShot(0, this, [this, request, path, refused] {
        if (refused)
            warnReading();
        else if (request == ProjectDrop::Refused)
            QMessageBox::warning(this, appTitle,
                                 tr("Drop one project file (.vtl): it is opened, or with Ctrl "
                                    "held its tests are added to the open project."));
        else if (request == ProjectDrop::Add && !refuseWhileReading())
            addChosenProject(path);
        else if (request == ProjectDrop::Open)
            openProjectFile(path);
    });
}

void MainWindow::createDocks() {
    auto makeDock = [this](const QString &title, const char *name, QWidget *contents,
                           Qt::DockWidgetArea area) {
        auto *dock = new QDockWidget(title, this);
        dock->setObjectName(QString::fromLatin1(name));
        dock->setWidget(wrap(contents));
        addDockWidget(area, dock);
        return dock;
    };

    procModel = new ProcessModel(this);
    procModel->setHeaderData(0, Qt::Horizontal, tr("Date"));
    procModel->setHeaderData(1, Qt::Horizontal, tr("Time"));
    procModel->setHeaderData(2, Qt::Horizontal, tr("Name"));
    procList = new ProcList;
    // Several tests can be selected for Delete.
    procList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    procList->setModel(procModel);
    procList->setIndentation(0);
    procList->setAlternatingRowColors(true);
    procList->setColumnWidth(0, 140);
    procList->setColumnWidth(1, 65);
    procDelegate = new ProcDelegate(this);
    procList->setItemDelegateForColumn(2, procDelegate);
    connect(procDelegate, &ProcDelegate::changed, this, &MainWindow::changedProc);
    connect(procList, &ProcList::clicked, this, &MainWindow::addGraph);
    connect(procList, &ProcList::pressKeyDel, this, &MainWindow::deleteSelProc);
    processesDock = makeDock(tr("Processes"), "processes", procList, Qt::LeftDockWidgetArea);

    messager = new QPlainTextEdit;
    messager->setReadOnly(true);
    messager->setMaximumBlockCount(MessageLogLimit);
    messagesDock = makeDock(tr("Messages"), "messager", messager, Qt::BottomDockWidgetArea);

    monitorTable = new Monitor;
    connect(monitorTable, &Monitor::changedBraking, this, &MainWindow::changedTormoz);
    connect(monitorTable, &Monitor::changedTemp, this, &MainWindow::changedTemp);
    connect(monitorTable, &Monitor::changedDaysA, this, &MainWindow::changedDays);
    connect(monitorTable, &Monitor::changedCemenetA, this, &MainWindow::changedCement);
    connect(monitorTable, &Monitor::changedSupplierA, this, &MainWindow::changedSupplier);
    connect(monitorTable, &Monitor::changedMassaA, this, &MainWindow::changedMassa);
    connect(monitorTable, &Monitor::changedCoefVA, this, &MainWindow::changedCoeffVoulme);
    monitorDock = makeDock(tr("Process parameters and results"), "monitor", monitorTable,
                           Qt::BottomDockWidgetArea);

    processDesc = new QTextEdit;
    processDescDock = makeDock(tr("Process Description"), "processDescription", processDesc,
                               Qt::BottomDockWidgetArea);
    projectDesc = new QTextEdit;
    projectDescDock = makeDock(tr("Project Description"), "projectDescription", projectDesc,
                               Qt::BottomDockWidgetArea);
}

void MainWindow::createMenus() {
    fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->addAction(openAct);
    fileMenu->addAction(addAct);
    fileMenu->addAction(saveAct);
    fileMenu->addAction(saveAsAct);
    fileMenu->addAction(printAct);
    fileMenu->addAction(exportAct);
    fileMenu->addAction(closeAct);
    fileMenu->addAction(exitAct);

    deviceMenu = menuBar()->addMenu(tr("&Device"));
    deviceMenu->addAction(readAct);

    viewMenu = menuBar()->addMenu(tr("View"));
    viewMenu->addAction(processesDock->toggleViewAction());
    viewMenu->addAction(monitorDock->toggleViewAction());
    viewMenu->addAction(messagesDock->toggleViewAction());
    viewMenu->addAction(projectDescDock->toggleViewAction());
    viewMenu->addAction(processDescDock->toggleViewAction());
    viewMenu->addSeparator();
    viewMenu->addAction(resultsAct);
    viewMenu->addSeparator();
    viewMenu->addAction(defaultAct);
    viewMenu->addSeparator();
    languageMenu = viewMenu->addMenu(tr("Language"));
    languageMenu->addAction(engAct);
    languageMenu->addAction(rusAct);

    helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->addAction(helpAct);
    tablesMenu = helpMenu->addMenu(tr("Tables"));
    tablesMenu->addAction(udelAct);
    tablesMenu->addAction(activAct);
    helpMenu->addAction(aboutAct);
}

void MainWindow::createToolBar() {
    toolBar = addToolBar(tr("Tools"));
    toolBar->setMovable(false);
    toolBar->addAction(saveAct);
    toolBar->addAction(openAct);
    toolBar->addAction(printAct);
    toolBar->addAction(exportAct);
    toolBar->addAction(resultsAct);
    toolBar->addSeparator();
    toolBar->addAction(readAct);
}

QMenu *MainWindow::createPopupMenu() {
    auto *menu = new QMenu;
    menu->addAction(processesDock->toggleViewAction());
    menu->addAction(monitorDock->toggleViewAction());
    menu->addAction(messagesDock->toggleViewAction());
    menu->addAction(projectDescDock->toggleViewAction());
    menu->addAction(processDescDock->toggleViewAction());
    return menu;
}

QList<QDockWidget *> MainWindow::docks() const {
    return {processesDock, messagesDock, monitorDock, processDescDock, projectDescDock};
}

void MainWindow::arrangeDefaultDocks() {
    for (QDockWidget *d : docks()) {
        d->setFloating(false);
        d->show();
    }
    addDockWidget(Qt::LeftDockWidgetArea, processesDock);
    addDockWidget(Qt::LeftDockWidgetArea, monitorDock);
    splitDockWidget(processesDock, monitorDock, Qt::Vertical);
    addDockWidget(Qt::BottomDockWidgetArea, projectDescDock);
    tabifyDockWidget(projectDescDock, processDescDock);
    tabifyDockWidget(projectDescDock, messagesDock);
    messagesDock->close();
    projectDescDock->raise();
    setCorner(Qt::TopLeftCorner, Qt::TopDockWidgetArea);
    setCorner(Qt::TopRightCorner, Qt::TopDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    // 358 wide was too narrow for the value column: "Unknown" lost a letter.
    resizeDocks({processesDock}, {400}, Qt::Horizontal);
    resizeDocks({processesDock, monitorDock}, {178, 398}, Qt::Vertical);
    resizeDocks({projectDescDock}, {209}, Qt::Vertical);
}

void MainWindow::readSettings() {
    QSettings settings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    QPoint pos = settings.value(QStringLiteral("pos")).toPoint();
    QSize size = settings.value(QStringLiteral("size"), QSize(1300, 800)).toSize();
    // A damaged settings file must not give an unusable window: too small,
    // too large, or on no screen at all.
    if (!size.isValid() || size.width() < 100 || size.height() < 100 || size.width() > 20000 ||
        size.height() > 20000)
        size = QSize(1300, 800);
    const QRect frame(pos, size);
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!screens.isEmpty() && std::none_of(screens.cbegin(), screens.cend(), [&](QScreen *screen) {
            return screen->geometry().intersects(frame);
        }))
        pos = QPoint(0, 0);
    move(pos);
    resize(size);
    const QVariant state = settings.value(QStringLiteral("state"));
    const QByteArray stored =
        state.type() == QVariant::ByteArray ? state.toByteArray() : QByteArray();
    if (stored.isEmpty() || !restoreState(stored, 0))
        restoreState(defaultLayoutState(), 0);
    // Dialogs start here and the title shows it: anything but a path (a
    // damaged value, another type, an empty or relative text) means home.
    const QVariant last = settings.value(QStringLiteral("lastWorkDir"));
    lastWorkDir = last.userType() == QMetaType::QString ? last.toString() : QString();
    if (lastWorkDir.isEmpty() || QDir::isRelativePath(lastWorkDir) ||
        std::any_of(lastWorkDir.cbegin(), lastWorkDir.cend(),
                    [](QChar c) { return c.category() == QChar::Other_Control; }))
        lastWorkDir = QDir::homePath();
    // Only 0 starts the program in Russian; the menu must not claim Russian
    // for anything else, or the next start would switch to it.
    bool ok = false;
    const int language = settings.value(QStringLiteral("language"), 1).toInt(&ok);
    if (ok && language == LangugeBox::Russian)
        rusAct->setChecked(true);
    else
        engAct->setChecked(true);
}

void MainWindow::writeSettings() {
    QSettings settings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    settings.setValue(QStringLiteral("size"), QSize(geometry().width(), geometry().height()));
    settings.setValue(QStringLiteral("pos"), pos());
    settings.setValue(QStringLiteral("state"), saveState(0));
    settings.setValue(QStringLiteral("lastWorkDir"), lastWorkDir);
    settings.setValue(QStringLiteral("language"), engAct->isChecked() ? 1 : 0);
}

// --- instrument ---------------------------------------------------------------

void MainWindow::readDevice() {
    reading = true;
    readAct->setEnabled(false);
    updateReadTip();
    readOutcomeLabel->clear();
    // Busy until the reader reports the first test.
    readBar->setRange(0, 0);
    readBar->show();
    emit readDevSignal();
}

void MainWindow::readProgress(int test, int tests, int packet, int packets) {
    if (!reading || tests <= 0 || packets <= 0)
        return;
    const qint64 done = qint64(test - 1) * packets + packet;
    readBar->setRange(0, 1000);
    readBar->setValue(int(1000 * done / (qint64(tests) * packets)));
    const auto text = [](int t, int ts, int p, int ps) {
        return tr("Test %1 of %2, packet %3 of %4").arg(t).arg(ts).arg(p).arg(ps);
    };
    // As wide as the longest text of this read: a bar narrower than its text
    // wraps it and cuts both lines.
    const QFontMetrics metrics = readBar->fontMetrics();
    const int width = metrics.horizontalAdvance(text(tests, tests, packets, packets)) +
                      6 * metrics.averageCharWidth();
    if (readBar->minimumWidth() < width) {
        readBar->setMaximumWidth(qMax(readBar->maximumWidth(), width));
        readBar->setMinimumWidth(width);
    }
    readBar->setFormat(text(test, tests, packet, packets));
}

void MainWindow::readEnd() {
    reading = false;
    readBar->hide();
    readBar->reset();
    readAct->setEnabled(true);
    updateReadTip();
    closeAct->setEnabled(true);
    showReadOutcome(reader.lastReport());
}

QString MainWindow::readOutcome() const {
    return readOutcomeLabel->text();
}

// A read that failed or left tests behind says so where the user looks, and
// shows the log with the details.
void MainWindow::showReadOutcome(const ViewerUsb::ReadReport &report) {
    const int read = report.added + report.held + report.skipped;
    QString text;
    if (report.permission)
        text = tr("Read failed: no permission to use the instrument — see Messages");
    else if (report.full)
        text = tr("Read stopped: the project holds %1 tests; %2 tests stayed on the instrument — "
                  "see Messages")
                   .arg(KeeperProc::MaxRecords)
                   .arg(report.notRead());
    else if (report.announced >= 0 && report.notRead() > 0)
        text = tr("Read ended early: %1 of %2 tests read — see Messages")
                   .arg(read)
                   .arg(report.announced);
    else if (report.result != ViewerUsb::ReadResult::Complete)
        text = tr("Read failed — see Messages");
    readOutcomeLabel->setText(text);
    if (text.isEmpty()) {
        statusBar()->showMessage(tr("Read finished: %1 new tests").arg(report.added), 10000);
        return;
    }
    messagesDock->show();
    messagesDock->raise();
}

void MainWindow::activateUsbButton(bool present) {
    if (!reading)
        readAct->setEnabled(present);
    updateReadTip();
}

// A greyed Read device says why: no instrument, or a read under way.
void MainWindow::updateReadTip() {
    const QString tip = reading ? tr("The instrument is being read.")
                        : readAct->isEnabled()
                            ? tr("Read the tests stored on the instrument.")
                            : tr("No instrument found. Connect it with USB; if it is "
                                 "connected, see the page “Troubleshooting” of the manual (F1).");
    readAct->setToolTip(tip);
    readAct->setStatusTip(tip);
}

void MainWindow::message(const QString &text) {
    appendMessages({text});
}

void MainWindow::appendMessages(const QStringList &texts) {
    if (texts.isEmpty())
        return;
    QStringList paragraphs;
    paragraphs.reserve(texts.size());
    for (const QString &text : texts) {
        const int nul = text.indexOf(QChar(0));
        paragraphs << (nul < 0 ? text : text.left(nul));
    }
    messager->appendPlainText(paragraphs.join(QLatin1Char('\n')));
}

// --- process list ---------------------------------------------------------------

void MainWindow::addProc(ProcessP *proc) {
    // A record the store no longer holds (the project was closed while the
    // reader's signal was queued) must not be touched.
    if (!proc || keeper.indexOf(proc) < 0)
        return;
    // One row in one insertion: Date, Time and an empty Name; a damaged
    // header may name no real date or time: "?" rather than nothing.
    procModel->appendRow({new QStandardItem(ResultsRow::dateText(*proc)),
                          new QStandardItem(ResultsRow::timeText(*proc)), new QStandardItem()});
    if (sender() == &reader) {
        session->setModified(true);
        setModifiedTitle();
    }
}

void MainWindow::addGraph(const QModelIndex &index) {
    const int row = index.row();
    if (row == currentProc)
        return;
    const int previous = currentProc;
    currentProc = row;
    graphs->clearGraphs();
    if (previous >= 0) {
        if (ProcessP *old = keeper.at(previous))
            old->setNote(processDesc->toPlainText().toUtf8());
    }
    ProcessP *record = keeper.at(currentProc);
    if (!record) {
        message(QStringLiteral("Can't find process number %1").arg(currentProc));
        return;
    }
    disconnect(processDesc, nullptr, nullptr, nullptr);
    processDesc->clear();
    processDesc->setPlainText(QString::fromUtf8(record->note()));
    processDesc->setEnabled(true);
    connect(processDesc, &QTextEdit::textChanged, this, &MainWindow::changedProc);

    graphs->clearGraphs();
    monitorTable->clearProcess();
    graphs->buildGraphs(record);
    monitorTable->showProcess(record);
    exportAct->setEnabled(true);
}

void MainWindow::deleteSelProc() {
    // The selected rows, or the current test when none is selected.
    QList<int> rows;
    for (const QModelIndex &index : procList->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && currentProc >= 0)
        rows << currentProc;
    if (rows.isEmpty() || refuseWhileReading())
        return;
    const QString question = rows.size() == 1
                                 ? tr("Do you want to remove process?")
                                 : tr("Do you want to remove %1 processes?").arg(rows.size());
    if (QMessageBox::question(this, tr("Remove process"), question,
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    std::sort(rows.begin(), rows.end());
    const bool currentGoes = rows.contains(currentProc);
    // A test that stays current keeps its description; it moves up by the
    // rows removed above it.
    int stays = -1;
    if (!currentGoes && currentProc >= 0) {
        storeCurrentNote();
        stays = currentProc - int(std::count_if(rows.cbegin(), rows.cend(),
                                                [this](int row) { return row < currentProc; }));
    }
    QList<ProcessP *> removed;
    graphs->clearGraphs();
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        removed << keeper.remove(*row);
        procModel->removeRow(*row);
    }
    procList->selectionModel()->clearSelection();
    currentProc = -1;
    if (keeper.count() > 0) {
        // The row that moved into the first removed row's place, or the last.
        const int candidate = stays >= 0 ? stays : qMin(rows.first(), keeper.count() - 1);
        addGraph(procModel->index(candidate, 0));
        // The row of the test shown is the one a further Delete removes.
        procList->selectionModel()->setCurrentIndex(procModel->index(candidate, 0),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    } else {
        monitorTable->clearProcess();
        // No test is shown: its description and export must not linger.
        disconnect(processDesc, nullptr, nullptr, nullptr);
        processDesc->clear();
        processDesc->setEnabled(false);
        exportAct->setEnabled(false);
    }
    qDeleteAll(removed);
    changedProc();
}

// --- editing ---------------------------------------------------------------------

bool MainWindow::isModified() const {
    return session->isModified();
}

void MainWindow::commitEditors() {
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(procList),
                                    static_cast<QAbstractItemView *>(monitorTable)}) {
        const QAbstractItemModel *model = view->model();
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                if (QWidget *editor = view->indexWidget(model->index(row, column))) {
                    QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
                    QMetaObject::invokeMethod(
                        view, "closeEditor", Q_ARG(QWidget *, editor),
                        Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
                }
    }
}

void MainWindow::changedProc() {
    recovery->changed();
    session->setModified(true);
    saveAsAct->setEnabled(true);
    setModifiedTitle();
    if (currentProc >= 0)
        emit testChanged(currentProc);
}

void MainWindow::setModifiedTitle() {
    // A project that has no file yet has neither a name nor a folder to show.
    if (session->path().isEmpty())
        setWindowTitle(QStringLiteral("*  ") + appTitle);
    else
        setWindowTitle(QFileInfo(session->path()).fileName() + QStringLiteral("*  ") + appTitle +
                       QStringLiteral("  (") + lastWorkDir + QStringLiteral(")"));
}

void MainWindow::changedTormoz() {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setBrakingRecord(!record->brakingRecord());
        monitorTable->showProcess(record);
        changedProc();
    }
}

void MainWindow::changedTemp() {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setTemperatureNotObserved(!record->temperatureNotObserved());
        monitorTable->showProcess(record);
        changedProc();
    }
}

void MainWindow::changedDays(int index) {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setHardeningIndex(index);
        changedProc();
    }
}

void MainWindow::changedCement(int index) {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setGrade(quint32(index));
        changedProc();
    }
}

void MainWindow::changedSupplier(int index) {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setSupplier(quint32(index));
        changedProc();
    }
}

void MainWindow::changedCoeffVoulme(double value) {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setHitCoefficient(value);
        changedProc();
    }
}

void MainWindow::changedMeasuredStrength(int row, double mpa) {
    if (ProcessP *record = keeper.at(row)) {
        // Kept with the duration of hardening it was measured at.
        record->setMeasuredStrength(mpa, record->hardeningIndex());
        emit testChanged(row);
        changedProc();
    }
}

void MainWindow::changedHitCoefficients(const QList<int> &rows, double value) {
    bool changed = false;
    for (int row : rows) {
        if (ProcessP *record = keeper.at(row)) {
            record->setHitCoefficient(value);
            emit testChanged(row);
            changed = true;
        }
    }
    if (!changed)
        return;
    if (rows.contains(currentProc))
        monitorTable->showProcess(keeper.at(currentProc));
    changedProc();
}

void MainWindow::changedMassa(int value) {
    if (ProcessP *record = keeper.at(currentProc)) {
        record->setMass(quint32(value));
        changedProc();
    }
}

// --- view and dialogs -------------------------------------------------------------

void MainWindow::defaultView() {
    if (QMessageBox::question(this, appTitle, tr("Do you want to change view to defauls state?"),
                              QMessageBox::Ok | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Ok)
        restoreState(defaultLayoutState(), 0);
}

void MainWindow::setLanguage() {
    QMessageBox::information(this, tr("Restart required"),
                             tr("The language change will take effect after a restart of %1.")
                                 .arg(QStringLiteral("Setrovia+")),
                             QMessageBox::Ok);
}

void MainWindow::showActivTab() {
    // Modeless, one more window per command; closed ones are not kept.
    auto *dialog = new DialogTab(this, sender() == activAct);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(appTitle);
    dialog->show();
}

void MainWindow::about() {
    const QString name = tr("Setrovia+");
    auto *box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(tr("About program %1").arg(name));
    box->setText(tr("<h3>%1 version %2<h3>").arg(name, QStringLiteral(SETROVIA_VERSION)));
    box->setInformativeText(
        QCoreApplication::translate("QMessageBox",
                                    "<p>Build  %1</p>"
                                    "<p>Ostrevan makes instruments and software for testing "
                                    "building materials in the laboratory.</p>")
            .arg(293));
    const QPixmap logo(QStringLiteral(":/image/logoAbout.png"));
    if (!logo.isNull())
        box->setIconPixmap(logo);
    box->exec();
}

namespace {
// Beside the program, else in the installed documentation folder.
QStringList helpFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(), program.filePath(QStringLiteral(SETROVIA_DOC_DIR_FROM_BIN)),
            QStringLiteral(SETROVIA_DOC_DIR)};
}

// The desktop's way first; without one (no xdg-open) the browser the
// system names: $BROWSER, Debian's alternatives, a common one on the PATH.
bool openInBrowser(const QUrl &url) {
    if (QDesktopServices::openUrl(url))
        return true;
    QStringList browsers = qEnvironmentVariable("BROWSER").split(QLatin1Char(':'));
    browsers << QStringLiteral("sensible-browser") << QStringLiteral("x-www-browser")
             << QStringLiteral("firefox") << QStringLiteral("chromium");
    for (const QString &browser : qAsConst(browsers)) {
        const QString program = QStandardPaths::findExecutable(browser);
        if (!program.isEmpty() && QProcess::startDetached(program, {url.toString()}))
            return true;
    }
    return false;
}

QString firstFile(const QStringList &folders, const QString &name) {
    for (const QString &dir : folders) {
        const QFileInfo file(QDir(dir).filePath(name));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}
} // namespace

QString MainWindow::helpFilePath() {
    return helpFilePath(helpFolders());
}

QString MainWindow::helpFilePath(const QStringList &folders) {
    return firstFile(folders, QStringLiteral("VantelHelp.chm"));
}

QString MainWindow::openManual(const QStringList &folders, bool russian,
                               const std::function<bool(const QUrl &)> &open) {
    QStringList manuals{helpFilePath(folders)};
    if (russian)
        manuals << firstFile(folders, QStringLiteral("manual-ru/index.html"));
    manuals << firstFile(folders, QStringLiteral("manual/index.html"));
    for (const QString &path : qAsConst(manuals))
        if (!path.isEmpty() && open(QUrl::fromLocalFile(path)))
            return path;
    return QString();
}

void MainWindow::help() {
    // Looked up beside the program rather than in the current folder, so the
    // manual opens wherever the program was started from. Most Linux desktops
    // have no viewer for the help file: the browser shows the HTML manual.
    const auto open = [](const QUrl &url) {
        return url.path().endsWith(QLatin1String(".html")) ? openInBrowser(url)
                                                           : QDesktopServices::openUrl(url);
    };
    if (!openManual(helpFolders(), RussianCatalogues::active(), open).isEmpty())
        return;
    const QString path = helpFilePath();
    if (path.isEmpty()) {
        QMessageBox::warning(
            this, appTitle,
            tr("The help file %1 cannot be found.").arg(QStringLiteral("VantelHelp.chm")));
        return;
    }
    QMessageBox::warning(
        this, appTitle,
        tr("There is no program to show the help file %1. Install a CHM viewer, for "
           "example xchm.")
            .arg(path));
}

// --- project ----------------------------------------------------------------------

void MainWindow::connectDescriptions() {
    connect(processDesc, &QTextEdit::textChanged, this, &MainWindow::changedProc);
    connect(projectDesc, &QTextEdit::textChanged, this, &MainWindow::changedProc);
}

void MainWindow::disconnectDescriptions() {
    disconnect(processDesc, nullptr, nullptr, nullptr);
    disconnect(projectDesc, nullptr, nullptr, nullptr);
}

bool MainWindow::maybeSave() {
    commitEditors();
    if (!isModified())
        return true;
    const int answer = QMessageBox::warning(
        this, tr("Save changes"),
        tr("The project has been modified. Do you want to save your changes?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    // A cancelled or failed save is a refusal: the unsaved work stays open.
    // No leaves the project modified: the command that asked may still stop
    // (a cancelled open dialog), and then nothing may be lost.
    if (answer == QMessageBox::Yes)
        return saveProject();
    return answer == QMessageBox::No;
}

QString MainWindow::chooseFile(const FileRequest &request) {
    if (fileChooser)
        return fileChooser(request);
    if (request.mode == FileRequest::Open)
        return QFileDialog::getOpenFileName(this, request.caption, request.directory,
                                            request.filter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    return QFileDialog::getSaveFileName(this, request.caption, request.directory, request.filter,
                                        nullptr, QFileDialog::DontUseNativeDialog);
}

// The reader thread adds tests to the store while it reads; emptying or
// replacing the store then would mix the instrument's tests into another
// project or drop rows the reader still announces. The user waits instead.
bool MainWindow::refuseWhileReading() {
    if (!reading)
        return false;
    warnReading();
    return true;
}

void MainWindow::warnReading() {
    QMessageBox::warning(this, appTitle,
                         tr("The instrument is being read. Wait until the reading has ended, "
                            "then try again."));
}

// The note of the test whose description the editor shows.
void MainWindow::storeCurrentNote() {
    if (ProcessP *record = keeper.at(currentProc))
        record->setNote(processDesc->toPlainText().toUtf8());
}

QStringList MainWindow::rowNames() const {
    QStringList names;
    for (int row = 0; row < procModel->rowCount(); ++row)
        names << procModel->data(procModel->index(row, 2)).toString();
    return names;
}

void MainWindow::setSavedTitle() {
    setWindowTitle(QFileInfo(session->path()).fileName() + QStringLiteral("   ") + appTitle +
                   QStringLiteral("  (") + lastWorkDir + QStringLiteral(")"));
}

namespace {
const QString ProjectFilter = QStringLiteral("Vantel (*.vtl)");
const QString ProjectExtension = QStringLiteral(".vtl");
} // namespace

bool MainWindow::addExtension(QString &path, const QString &extension) {
    if (path.endsWith(extension))
        return true;
    path += extension;
    // The dialog confirmed only the name without the extension.
    return !QFileInfo::exists(path) ||
           QMessageBox::question(this, appTitle,
                                 tr("%1 already exists. Do you want to replace it?").arg(path),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool MainWindow::saveProject() {
    if (session->path().isEmpty())
        return saveAsProject();
    return saveProject(session->path());
}

bool MainWindow::mayOverwrite(const QString &path, bool *saveAs) {
    *saveAs = false;
    if (path != session->path() || !session->changedOnDisk())
        return true;
    QMessageBox box(QMessageBox::Warning, appTitle,
                    tr("The project file %1 has been changed by another program since it was "
                       "opened or saved here.")
                        .arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Save | QMessageBox::SaveAll | QMessageBox::Cancel, this);
    box.setInformativeText(tr("Overwrite replaces that version with this project; Save As "
                              "keeps it and saves this project in another file."));
    box.button(QMessageBox::Save)->setText(tr("Overwrite"));
    box.button(QMessageBox::SaveAll)->setText(tr("Save As..."));
    box.setDefaultButton(QMessageBox::Cancel);
    const int answer = box.exec();
    *saveAs = answer == QMessageBox::SaveAll;
    return answer == QMessageBox::Save;
}

bool MainWindow::saveProject(const QString &name) {
    commitEditors();
    bool saveAs = false;
    if (!mayOverwrite(name, &saveAs))
        return saveAs && saveAsProject();
    storeCurrentNote();
    // Written beside the old file and swapped in only when complete: a failed
    // save leaves the previous project intact and this one modified.
    QByteArray image;
    ProjectFile::Result result =
        ProjectFile::image(keeper, projectDesc->toPlainText(), rowNames(), &image);
    if (result.ok())
        result = ProjectFile::write(name, image);
    if (!result.ok()) {
        QMessageBox::critical(this,
                              result.status == ProjectFile::WriteFailed ? tr("Error") : appTitle,
                              result.message);
        return false;
    }
    session->setFile(name, ProjectSession::Fingerprint::of(name, image));
    session->setModified(false);
    setSavedTitle();
    recent->add(name);
    return true;
}

bool MainWindow::saveAsProject() {
    storeCurrentNote();
    QString path = chooseFile({FileRequest::Save, tr("Save project"), lastWorkDir, ProjectFilter});
    if (path.isEmpty())
        return false;
    if (!addExtension(path, ProjectExtension))
        return false;
    lastWorkDir = path;
    // The project moves to the file only once it is written there.
    return saveProject(path);
}

ProjectFile::Contents MainWindow::readProjectFile(const QString &path, KeeperProc &store) {
    // The reader's progress lines (two per test) reach the log in one append:
    // line by line they cost more than the whole parse.
    QStringList lines;
    const bool ours = &store == &keeper;
    if (ours)
        disconnect(&keeper, &KeeperProc::sendMessage, this, &MainWindow::message);
    const QMetaObject::Connection collect = connect(
        &store, &KeeperProc::sendMessage, this, [&lines](const QString &text) { lines << text; });
    const ProjectFile::Contents file = ProjectFile::read(path, store);
    disconnect(collect);
    if (ours)
        connect(&keeper, &KeeperProc::sendMessage, this, &MainWindow::message);
    appendMessages(lines);
    if (!file.ok())
        QMessageBox::critical(this, appTitle, file.message);
    else if (file.strengthsDamaged)
        message(ProjectFile::strengthsMessage(path));
    return file;
}

void MainWindow::showLoadedTests(const ProjectFile::Contents &file, bool takeDescription) {
    disconnectDescriptions();
    // The new records are the last ones of the store, in file order.
    int row = procModel->rowCount();
    for (int i = keeper.count() - file.appendedCount(); i < keeper.count(); ++i)
        addProc(keeper.at(i));
    for (int j = 0; j < file.appended.size(); ++j)
        if (file.appended.at(j))
            procModel->item(row++, 2)->setText(file.nameOf(j));
    if (takeDescription) {
        projectDesc->clear();
        projectDesc->setPlainText(file.description);
    }
    connectDescriptions();
    projectDesc->setEnabled(true);
}

void MainWindow::openProject() {
    if (refuseWhileReading() || !maybeSave())
        return;
    const QString path =
        chooseFile({FileRequest::Open, tr("Open project"), lastWorkDir, ProjectFilter});
    if (path.isEmpty())
        return;
    lastWorkDir = path;
    openChosenProject(path);
}

bool MainWindow::openProjectFile(const QString &path) {
    if (refuseWhileReading() || !maybeSave())
        return false;
    return openChosenProject(QFileInfo(path).absoluteFilePath());
}

bool MainWindow::openChosenProject(const QString &path) {
    // The file is read and checked in full before the open project goes: a
    // file that cannot be opened changes nothing.
    KeeperProc staged;
    const ProjectFile::Contents file = readProjectFile(path, staged);
    if (!file.ok())
        return false;
    showProject(staged, file, path);
    recent->add(path);
    return true;
}

void MainWindow::showProject(KeeperProc &staged, const ProjectFile::Contents &file,
                             const QString &path) {
    clearProject();
    keeper.takeAll(staged);
    showLoadedTests(file, true);
    session->setFile(path);
    if (!path.isEmpty())
        lastWorkDir = path;
    setSavedTitle();
    closeAct->setEnabled(true);
    saveAsAct->setEnabled(true);
}

void MainWindow::openRecentProject(const QString &path) {
    if (refuseWhileReading())
        return;
    if (!QFileInfo::exists(path)) {
        recent->remove(path);
        QMessageBox::warning(this, appTitle,
                             tr("The project %1 no longer exists. It has been removed from the "
                                "list of recent projects.")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
    }
    // As Open project goes on after its dialog.
    if (!maybeSave())
        return;
    lastWorkDir = path;
    openChosenProject(path);
}

void MainWindow::addProject() {
    commitEditors();
    if (refuseWhileReading())
        return;
    const QString path =
        chooseFile({FileRequest::Open, tr("Open project"), lastWorkDir, ProjectFilter});
    if (path.isEmpty())
        return;
    addChosenProject(path);
}

void MainWindow::addChosenProject(const QString &path) {
    commitEditors();
    const ProjectFile::Contents file = readProjectFile(path, keeper);
    if (!file.ok())
        return;
    showLoadedTests(file, false);
    closeAct->setEnabled(true);
    saveAsAct->setEnabled(true);
    changedProc();
    recovery->writeNow(); // as after a read: the added tests at once
}

bool MainWindow::closeProject() {
    if (refuseWhileReading() || !maybeSave())
        return false;
    clearProject();
    return true;
}

void MainWindow::clearProject() {
    disconnectDescriptions();
    procModel->removeRows(0, procModel->rowCount());
    processDesc->clear();
    processDesc->setEnabled(false);
    projectDesc->clear();
    projectDesc->setEnabled(false);
    monitorTable->clearProcess();
    exportAct->setEnabled(false);
    graphs->clearGraphs();
    closeAct->setEnabled(false);
    saveAsAct->setEnabled(false);
    currentProc = -1;
    session->setFile(QString());
    keeper.clear();
    session->setModified(false);
    setWindowTitle(appTitle);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    // A read under way is cut short by the destructor; saving meanwhile only
    // takes a snapshot of the store.
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

// --- output -----------------------------------------------------------------------

void MainWindow::print() {
    printSelection.clear();
    PrintDialog dialog(keeper.count(), procModel, currentProc, &printFormat, &printSelection);
    dialog.setWindowTitle(appTitle); // the program's name in the interface's language
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(printFormat == 1 ? QPrinter::PdfFormat : QPrinter::NativeFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (printFormat == 1) {
        ProtocolPage::setPdfMargins(printer); // the preview shows the page as the file has it
        // The PDF is written by "Save as PDF..." in the preview, to a file
        // the user chose: a cancelled choice writes nothing.
        ProtocolPreview preview(
            &printer, [this] { return savePdf(); }, this);
        preview.setWindowTitle(appTitle);
        connect(preview.preview(), &QPrintPreviewWidget::paintRequested, this,
                &MainWindow::printReport);
        preview.exec();
        return;
    }
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        QPrintDialog printDialog(&printer, this);
        printDialog.setOptions(QAbstractPrintDialog::PrintCollateCopies);
        connect(&printDialog, qOverload<QPrinter *>(&QPrintDialog::accepted), this,
                &MainWindow::printReport);
        printDialog.exec();
    } else {
        QMessageBox::critical(this, tr("Print error"), tr("There is no available printer"),
                              QMessageBox::Ok);
    }
}

QList<const ProcessP *> MainWindow::printRecords() const {
    QList<const ProcessP *> records;
    for (int index : qAsConst(printSelection))
        if (const ProcessP *record = keeper.at(index))
            records.append(record);
    return records;
}

namespace {
const QString PdfFolderKey = QStringLiteral("lastPdfDir");

// A file name from a test's name: what file systems refuse becomes "_".
QString fileNameFrom(const QString &text) {
    QString name = text.simplified();
    for (QChar &c : name)
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    return name;
}
} // namespace

QString MainWindow::pdfProposal() const {
    // The folder used last, else the project's, else home.
    const QSettings settings(QCoreApplication::organizationName(),
                             QCoreApplication::applicationName());
    QString folder = settings.value(PdfFolderKey).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = session->path().isEmpty() ? QDir::homePath()
                                           : QFileInfo(session->path()).absolutePath();
    QString name;
    if (printSelection.size() > 1) {
        name = QStringLiteral("tests-%1").arg(printSelection.size());
    } else if (!printSelection.isEmpty()) {
        const int row = printSelection.first();
        name = fileNameFrom(procModel->data(procModel->index(row, 2)).toString());
        const ProcessP *record = keeper.at(row);
        if (name.isEmpty() && record && record->startDateTime().isValid())
            name = record->startDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    }
    if (name.isEmpty())
        name = QStringLiteral("protocol");
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

bool MainWindow::savePdf() {
    QString path =
        chooseFile({FileRequest::Save, tr("Save as PDF"), pdfProposal(), tr("PDF files (*.pdf)")});
    if (path.isEmpty() || !addExtension(path, QStringLiteral(".pdf")))
        return false;
    QString error;
    if (!ProtocolPage::writePdf(printRecords(), path, &error,
                                [this](const QString &line) { message(line); })) {
        QMessageBox::critical(this, appTitle,
                              tr("The protocol could not be written to %1: %2").arg(path, error));
        return false;
    }
    QSettings settings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    settings.setValue(PdfFolderKey, QFileInfo(path).absolutePath());
    return true;
}

void MainWindow::printReport(QPrinter *printer) {
    // Every selected test is printed, one page each, in list order.
    const QList<const ProcessP *> records = printRecords();
    if (records.isEmpty())
        return;
    const bool printed =
        ProtocolPage::print(printer, records, [this](const QString &line) { message(line); });
    if (!printed) {
        const QString file = printer ? printer->outputFileName() : QString();
        QMessageBox::critical(this, appTitle,
                              file.isEmpty()
                                  ? tr("The protocol could not be printed.")
                                  : tr("The protocol could not be written to %1.").arg(file));
    }
}

PlotImage::Target MainWindow::plotImageTarget() const {
    // The project's folder (the last one chosen while none is saved); the
    // test's name, else its start.
    const QFileInfo base(session->path().isEmpty() ? lastWorkDir : session->path());
    PlotImage::Target target{base.isDir() ? base.filePath() : base.path(), QString()};
    target.name = procModel->data(procModel->index(currentProc, 2)).toString().trimmed();
    if (const ProcessP *record = keeper.at(currentProc); record && target.name.isEmpty()) {
        const QDateTime start(
            QDate(record->startYear() + 2000, record->startMonth(), record->startDay()),
            QTime(record->startHour(), record->startMinute(), record->startSecond()));
        if (start.isValid())
            target.name = start.toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    }
    return target;
}

void MainWindow::exportToTxt() {
    const ProcessP *record = keeper.at(currentProc);
    if (!record)
        return;
    const QFileInfo last(lastWorkDir);
    QString path = chooseFile({FileRequest::Save, tr("Save to file..."),
                               last.isDir() ? lastWorkDir : last.path(), QStringLiteral("*.txt")});
    if (path.isEmpty())
        return;
    if (!addExtension(path, QStringLiteral(".txt")))
        return;
    QString error;
    if (!TextExport::write(path, *record, locale(), &error))
        QMessageBox::critical(this, appTitle, error);
}

// --- results of all tests ---------------------------------------------------------

ResultsWindow *MainWindow::resultsWindow() const {
    return results;
}

void MainWindow::showResults() {
    if (!results) {
        // One per window, beside it; closing it lets it go.
        results = new ResultsWindow(&keeper, procModel, this);
        results->setAttribute(Qt::WA_DeleteOnClose);
        connect(this, &MainWindow::testChanged, results, &ResultsWindow::refresh);
        connect(results, &ResultsWindow::testActivated, this, &MainWindow::showTest);
        connect(results, &ResultsWindow::strengthEdited, this,
                &MainWindow::changedMeasuredStrength);
        connect(results, &ResultsWindow::hitCoefficientChosen, this,
                &MainWindow::changedHitCoefficients);
        // The title changes with every project opened, saved elsewhere or closed.
        connect(this, &QWidget::windowTitleChanged, results, [this] { proposeResultsFile(); });
    }
    results->setWindowTitle(tr("Results of all tests") + QStringLiteral(" - ") + appTitle);
    proposeResultsFile();
    results->show();
    results->raise();
    results->activateWindow();
}

void MainWindow::proposeResultsFile() {
    if (!results)
        return;
    const QString projectPath = session->path();
    const QFileInfo project(projectPath.isEmpty() ? lastWorkDir : projectPath);
    const QString folder = project.isDir() ? project.filePath() : project.path();
    // "lab.v2.vtl" gives "lab.v2.csv".
    const QString name =
        projectPath.isEmpty() ? QStringLiteral("results") : project.completeBaseName();
    results->setProject(QDir(folder).filePath(name + QStringLiteral(".csv")));
}

void MainWindow::showTest(int row) {
    const QModelIndex index = procModel->index(row, 0);
    if (!index.isValid())
        return;
    procList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    procList->scrollTo(index);
    addGraph(index);
}
