#include "PathSet.h"

#include "JapaneseFont.h"
#include "config/Settings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vcm {

PathSet::PathSet(const MonitorSettings& settings, QWidget* parent, DialogServices services)
    : QDialog(parent), chosen_(settings), services_(std::move(services))
{
    setWindowTitle(QStringLiteral("Save Folder Setting "));
    setModal(true);

    text1_ = new QLineEdit(this);
    nameControl(text1_, "Text1");
    text1_->setMinimumWidth(360);
    auto* explore = new QPushButton(QStringLiteral("Explorer"), this);
    nameControl(explore, "Command1");

    auto* frame1 = new QGroupBox(QStringLiteral("Langue"), this);
    nameControl(frame1, "Frame1");
    option1_[0] = new QRadioButton(QStringLiteral("Francais"), frame1);
    option1_[1] = new QRadioButton(QStringLiteral("Japonais"), frame1);
    auto* languages = new QHBoxLayout(frame1);
    for (int i = 0; i < 2; ++i) {
        nameControl(option1_[i], "Option1", i);
        languages->addWidget(option1_[i]);
        // toggled also fires when showLanguage sets the option; loadingLanguage_ skips that.
        connect(option1_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) chooseLanguage(i);
        });
    }

    QPushButton* command2[2] = {new QPushButton(QStringLiteral("Valider"), this),
                                new QPushButton(QStringLiteral("Annuler"), this)};
    nameControl(command2[0], "Command2", 0);
    nameControl(command2[1], "Command2", 1);
    command2[0]->setDefault(true);
    command2[0]->setAutoDefault(true);
    command2[1]->setAutoDefault(false);
    explore->setAutoDefault(false);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(text1_, 1);
    folderRow->addWidget(explore);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command2[0]);
    buttons->addWidget(command2[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);
    layout->addWidget(frame1);
    layout->addLayout(buttons);

    connect(explore, &QPushButton::clicked, this, &PathSet::browseForFolder);
    connect(command2[0], &QPushButton::clicked, this, &PathSet::takeFolder);
    connect(command2[1], &QPushButton::clicked, this, &QDialog::reject);

    showLanguage();
}

void PathSet::showLanguage()
{
    loadingLanguage_ = true;
    if (chosen_.Japanese) {
        // Without a Japanese face the box keeps its font: the folder text still shows.
        if (const auto font = japaneseFont()) text1_->setFont(*font);
        option1_[1]->setChecked(true);
    } else {
        text1_->setFont(QFont(QStringLiteral("Arial")));
        option1_[0]->setChecked(true);
    }
    text1_->setText(fromSettingsText(chosen_.SavePath));
    loadingLanguage_ = false;
}

void PathSet::chooseLanguage(int index)
{
    if (loadingLanguage_) return;
    chosen_.Japanese = index > 0;
    showLanguage();
}

void PathSet::browseForFolder()
{
    static QtFolderChooser platformChooser;
    FolderChooser& chooser = services_.folderChooser ? *services_.folderChooser : platformChooser;
    const QString chosen = chooser.chooseFolder(this, QStringLiteral("Select Save Folder"), text1_->text());
    if (!chosen.isEmpty()) text1_->setText(chosen);
}

void PathSet::takeFolder()
{
    chosen_.SavePath = withoutTrailingSeparator(toSettingsText(text1_->text()));
    accept();
}

} // namespace vcm
