#include "langugebox.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

LangugeBox::LangugeBox(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), russian(new QRadioButton(QStringLiteral("Русский"), this)),
      english(new QRadioButton(QStringLiteral("English"), this)),
      ok(new QPushButton(QStringLiteral("Ok"), this)) {
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(russian);
    layout->addWidget(english);
    layout->addWidget(ok);
    ok->setEnabled(false);
    connect(russian, &QRadioButton::clicked, this, &LangugeBox::select);
    connect(english, &QRadioButton::clicked, this, &LangugeBox::select);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setFixedWidth(200);
}

int LangugeBox::askLanguage(QWidget *parent) {
    LangugeBox box(parent);
    if (box.exec() != QDialog::Accepted)
        return NotChosen;
    return box.chosenLanguage();
}

int LangugeBox::languageForStart(QSettings &settings) {
    bool ok = false;
    int language = settings.value(QStringLiteral("language"), NotChosen).toInt(&ok);
    if (!ok)
        language = NotChosen;
    if (language != NotChosen)
        return language;
    language = askLanguage(nullptr);
    if (language != NotChosen) {
        settings.setValue(QStringLiteral("language"), language);
        settings.sync();
    }
    return language;
}

int LangugeBox::chosenLanguage() const {
    return russian->isChecked() ? Russian : English;
}

void LangugeBox::select() {
    ok->setEnabled(true);
}
