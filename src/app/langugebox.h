#ifndef LANGUGEBOX_H
#define LANGUGEBOX_H

#include <QDialog>

class QPushButton;
class QSettings;
class QRadioButton;

// Asks for the interface language on the very first start.
class LangugeBox : public QDialog {
    Q_OBJECT
public:
    enum Language { Russian = 0, English = 1, NotChosen = 100 };

    explicit LangugeBox(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    // 100 when the dialog was not accepted, 0 for Russian, 1 for English.
    static int askLanguage(QWidget *parent);
    // The language of this run: the stored one, or asked on the very first
    // start and stored at once. 100 when the user dismissed the question
    // (nothing is written then).
    static int languageForStart(QSettings &settings);
    int chosenLanguage() const;

    QRadioButton *russianButton() const { return russian; }
    QRadioButton *englishButton() const { return english; }
    QPushButton *okButton() const { return ok; }

private slots:
    void select();

private:
    QRadioButton *russian;
    QRadioButton *english;
    QPushButton *ok;
};

#endif // LANGUGEBOX_H
