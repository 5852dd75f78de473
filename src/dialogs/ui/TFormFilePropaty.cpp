#include "dialogs/ui/TFormFilePropaty.h"

#include <QFormLayout>

#include "dialogs/ui/DialogHost.h"
#include "platform/FileSystem.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

void exploreFolderOf(DialogHost& host, std::string_view shownName) {
    const std::string name = trimText(shownName);
    const std::string folder(folderOf(name));
    if (!folder.empty() && dirExists(folder))
        host.explore(folder);
    else
        host.messageBox(CompanionBox::Confirmation, name);
}

TFormFilePropaty::TFormFilePropaty(QWidget* parent) : TFormPropaty(parent) {
    // Parented here; the dialog's page layout takes them over.
    StaticText_Color = new ColourField(QStringLiteral("Color"), this);
    Button_Explorer = dialogButton(QStringLiteral("Explorer"), this);
    connect(StaticText_Color, &ColourField::clicked, this, &TFormFilePropaty::chooseColour);
    connect(Button_Explorer, &QPushButton::clicked, this, &TFormFilePropaty::explore);
}

std::array<QLineEdit*, 8> TFormFilePropaty::addMailPage(QTabWidget* pages) {
    std::array<QLineEdit*, 8> boxes{};
    auto* mail = new QWidget(pages);
    auto* form = new QFormLayout(mail);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = new QLineEdit(mail);
        form->addRow(toQt(kMailSettingKeys[i]), boxes[i]);
    }
    pages->addTab(mail, QStringLiteral("Mail"));
    return boxes;
}

void TFormFilePropaty::showColour() {
    StaticText_Color->setColour(colour_ ? toQColor(*colour_) : palette().color(QPalette::Button));
}

void TFormFilePropaty::chooseColour() {
    if (!host_) return;
    if (std::optional<QColor> chosen = host_->chooseColor(StaticText_Color->colour())) {
        colour_ = fromQColor(*chosen);
        showColour();
    }
}

void TFormFilePropaty::explore() {
    if (host_ && StaticText_FileName) exploreFolderOf(*host_, fromQt(StaticText_FileName->text()));
}

}  // namespace zel
