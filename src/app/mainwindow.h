#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "app/projectdrop.h"
#include "charts/plotimage.h"
#include "device/viewerusb.h"
#include "records/keeperproc.h"
#include "records/projectfile.h"
#include "records/recoveryfile.h"

#include <QList>
#include <QMainWindow>
#include <QModelIndex>
#include <QPointer>
#include <QTimer>
#include <functional>

class Monitor;
class PlotTabs;
class ProcDelegate;
class ProcList;
class ProcessModel;
class ProcessP;
class ProjectSession;
class RecentProjects;
class RecoveryKeeper;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QTabWidget;
class QTextEdit;
class QToolBar;
class ResultsWindow;

// The application's single window: owns the instrument reader and its thread,
// the presence timer, the record store, the actions, menus, toolbar and docks,
// and wires them together.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void setTitle(const QString &title);
    QString title() const { return appTitle; }

    // Lays the docks out as the built-in default layout has them; the layout
    // generator tool saves the result.
    void arrangeDefaultDocks();
    QMenu *createPopupMenu() override;

    // Makes the icons and catalogues of the library available (":/image",
    // ":/translater"); the window does it itself, the entry point earlier.
    static void initResources();

    // The help file beside the program, else in the installed documentation
    // folder; empty when neither exists.
    static QString helpFilePath();

    // Opens a project given outside the window (the command line, a double
    // click on a .vtl file), as Open project does after its dialog.
    bool openProjectFile(const QString &path);
    // Offers each recovery file that an instance left behind when it ended
    // without closing (a crash): Restore opens it as a modified project of
    // its original file, Discard deletes it, Escape keeps it for the next
    // start; a damaged one is set aside. True when one was restored.
    bool offerRecovery();
    // At start, once the window is shown: the recovery question first, then
    // the project named on the command line (empty: none) unless a recovery
    // file was restored.
    void startUp(const QString &project);
    static QString helpFilePath(const QStringList &folders);
    // Opens the manual found in the folders with `open`: the help file, else
    // (no viewer for it, or no help file) the HTML manual in the browser, in
    // Russian for the Russian interface. The file that opened, or empty.
    static QString openManual(const QStringList &folders, bool russian,
                              const std::function<bool(const QUrl &)> &open);

    // Access for the tools and tests that drive the window.
    KeeperProc &store() { return keeper; }
    ViewerUsb &viewer() { return reader; }
    QTimer &pollTimer() { return timer; }
    ProcessModel *processModel() const { return procModel; }
    ProcList *processList() const { return procList; }
    Monitor *monitor() const { return monitorTable; }
    QTabWidget *plotTabWidget() const { return plotTabs; }
    PlotTabs *plots() const { return graphs; }
    QPlainTextEdit *messageLog() const { return messager; }
    QProgressBar *readProgressBar() const { return readBar; }
    QTextEdit *processDescription() const { return processDesc; }
    QTextEdit *projectDescription() const { return projectDesc; }
    QList<QDockWidget *> docks() const;
    int currentTest() const { return currentProc; }
    bool isReading() const { return reading; }
    QString projectFilePath() const;
    ProjectSession *projectSession() const { return session; }
    // The status bar's warning that unsaved work has no recovery file; empty
    // while it has one (or there is nothing unsaved).
    QString recoveryWarning() const;
    QString lastWorkPath() const { return lastWorkDir; }
    // The status bar's line about the last read; empty when it went well.
    QString readOutcome() const;

    QAction *readAction() const { return readAct; }
    QAction *saveAction() const { return saveAct; }
    QAction *saveAsAction() const { return saveAsAct; }
    QAction *openAction() const { return openAct; }
    QAction *aboutAction() const { return aboutAct; }
    QAction *russianAction() const { return rusAct; }
    QAction *englishAction() const { return engAct; }
    QAction *activityAction() const { return activAct; }
    QAction *specificContractionAction() const { return udelAct; }
    QAction *closeAction() const { return closeAct; }
    QAction *exitAction() const { return exitAct; }
    QAction *printAction() const { return printAct; }
    QAction *helpAction() const { return helpAct; }
    QAction *defaultAction() const { return defaultAct; }
    QAction *addProjectAction() const { return addAct; }
    QAction *exportAction() const { return exportAct; }
    QAction *deleteTestAction() const { return deleteAct; }
    RecentProjects *recentProjects() const { return recent; }
    RecoveryKeeper *recoveryKeeper() const { return recovery; }
    QAction *resultsAction() const { return resultsAct; }
    // The results overview, null while it is not open.
    ResultsWindow *resultsWindow() const;

    // What the project and export commands ask a file dialog for. The chooser
    // returns the chosen path, empty when the user cancels; tests replace it
    // to answer without a real dialog.
    struct FileRequest {
        enum Mode { Open, Save } mode = Open;
        QString caption;
        QString directory;
        QString filter;
    };
    using FileChooser = std::function<QString(const FileRequest &)>;
    void setFileChooser(FileChooser chooser) { fileChooser = std::move(chooser); }

signals:
    void readDevSignal();
    // A test's parameters (or the project) were edited; row: the current test.
    void testChanged(int row);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void activateUsbButton(bool present);
    void readDevice();
    void readEnd();
    void readProgress(int test, int tests, int packet, int packets);
    void changedProc();
    void message(const QString &text);
    void addProc(ProcessP *proc);
    void addGraph(const QModelIndex &index);
    void about();
    // The three save commands return true once the file is on disk.
    bool saveProject();
    bool saveProject(const QString &name);
    bool saveAsProject();
    void openProject();
    void setLanguage();
    void showActivTab();
    bool closeProject();
    void printReport(QPrinter *printer);
    void print();
    void changedTormoz();
    void changedTemp();
    void help();
    void defaultView();
    void deleteSelProc();
    void addProject();
    void changedDays(int index);
    void changedCement(int index);
    void changedSupplier(int index);
    void changedCoeffVoulme(double value);
    void changedMassa(int value);
    // Edits from the results window: the strength measured for test row
    // (NaN clears it), and the hit coefficient of several tests at once.
    void changedMeasuredStrength(int row, double mpa);
    void changedHitCoefficients(const QList<int> &rows, double value);
    void exportToTxt();
    // An entry of File > Recent projects: opened as Open project does after
    // its dialog; one whose file is gone leaves the list.
    void openRecentProject(const QString &path);
    // A file dropped on the window: opened as Open project does, added as
    // Add project does with Ctrl held; refused during a read.
    void projectDropped(ProjectDrop::Request request, const QString &path);
    // Opens the results overview, or brings it forward when it is open.
    void showResults();
    // Makes the test of the row current, as a click on it in the list does.
    void showTest(int row);

private:
    void createActions();
    void createDocks();
    void createMenus();
    void createToolBar();
    // Keyboard shortcuts of the commands, and the Delete command of the list.
    void createShortcuts();
    // The other ways into a project (the recent list, dropped files, the
    // recovery file) and the recovery file's upkeep.
    void createProjectHelpers();
    void readSettings();
    void writeSettings();
    // The save prompt: true when the caller may go on (saved, or No).
    bool maybeSave();
    // Each text a paragraph of the message log (up to its first NUL).
    void appendMessages(const QStringList &texts);
    bool openChosenProject(const QString &path);
    // Replaces the open project by the tests read into `staged`, unmodified.
    void showProject(KeeperProc &staged, const ProjectFile::Contents &file, const QString &path);
    bool isModified() const;
    // Stores a value typed into an open editor of the list or the table, so
    // that it counts before a command decides whether anything changed.
    void commitEditors();
    // Before the project's own file is written over: true when it is still
    // as this window read or wrote it, or the user chose to overwrite it;
    // *saveAs when the user chose to save under another name instead.
    bool mayOverwrite(const QString &path, bool *saveAs);
    void showProtection(const QString &error);
    // Where the results window proposes its CSV and images: the project's
    // folder and name, or "results" in the last folder without a project.
    void proposeResultsFile();
    void connectDescriptions();
    void disconnectDescriptions();
    QString chooseFile(const FileRequest &request);
    // True (after telling the user) while the instrument is being read.
    bool refuseWhileReading();
    void warnReading();
    // Add project after its dialog.
    void addChosenProject(const QString &path);
    void storeCurrentNote();
    QStringList rowNames() const;
    void setSavedTitle();
    void showReadOutcome(const ViewerUsb::ReadReport &report);
    void updateReadTip();
    // The tests chosen for printing, in list order.
    QList<const ProcessP *> printRecords() const;
    // The file the PDF of the chosen tests is proposed in, and its writing.
    QString pdfProposal() const;
    bool savePdf();
    // The title of a modified project: "*" after its file name, or alone.
    void setModifiedTitle();
    // Empties the window and the store without asking.
    void clearProject();
    // Appends the extension (case-sensitive test) unless the path has it;
    // false when that names an existing file the user will not replace.
    bool addExtension(QString &path, const QString &extension);
    // Reads the file into the store (the window's, or one of its own), with
    // the store's lines in the log; a failure is shown and changes nothing.
    ProjectFile::Contents readProjectFile(const QString &path, KeeperProc &store);
    // Rows, names and (when asked) the description of the tests the file added.
    void showLoadedTests(const ProjectFile::Contents &file, bool takeDescription);
    // Where a plot image is saved and what it is called: the shown test's.
    PlotImage::Target plotImageTarget() const;

    ViewerUsb reader;
    QToolBar *toolBar = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *deviceMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QMenu *languageMenu = nullptr;
    QMenu *tablesMenu = nullptr;
    QMenu *viewMenu = nullptr;
    QAction *readAct = nullptr;
    QAction *saveAct = nullptr;
    QAction *saveAsAct = nullptr;
    QAction *openAct = nullptr;
    QAction *aboutAct = nullptr;
    QAction *rusAct = nullptr;
    QAction *engAct = nullptr;
    QAction *activAct = nullptr;
    QAction *udelAct = nullptr;
    QAction *closeAct = nullptr;
    QAction *exitAct = nullptr;
    QAction *printAct = nullptr;
    QAction *helpAct = nullptr;
    QAction *defaultAct = nullptr;
    QAction *addAct = nullptr;
    QAction *exportAct = nullptr;
    QAction *deleteAct = nullptr;
    RecentProjects *recent = nullptr;
    RecoveryKeeper *recovery = nullptr;
    ProjectSession *session = nullptr;
    QLabel *unprotectedIcon = nullptr;
    QLabel *unprotectedLabel = nullptr;
    bool testsArrived = false; // during the current read
    QAction *resultsAct = nullptr;
    QPointer<ResultsWindow> results;
    QPlainTextEdit *messager = nullptr;
    QProgressBar *readBar = nullptr;
    QLabel *readOutcomeLabel = nullptr;
    ProcList *procList = nullptr;
    ProcessModel *procModel = nullptr;
    ProcDelegate *procDelegate = nullptr;
    QTabWidget *plotTabs = nullptr;
    Monitor *monitorTable = nullptr;
    QTextEdit *processDesc = nullptr;
    QTextEdit *projectDesc = nullptr;
    PlotTabs *graphs = nullptr;
    QDockWidget *processesDock = nullptr;
    QDockWidget *messagesDock = nullptr;
    QDockWidget *monitorDock = nullptr;
    QDockWidget *processDescDock = nullptr;
    QDockWidget *projectDescDock = nullptr;
    QTimer timer;
    KeeperProc keeper;
    QString lastWorkDir;
    QList<int> printSelection;
    int printFormat = 0;
    QString appTitle;
    bool reading = false;
    int currentProc = -1;
    FileChooser fileChooser;
};

#endif // MAINWINDOW_H
