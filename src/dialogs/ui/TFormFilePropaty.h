#pragma once
// What the holder and memo file property dialogs share: the record's file
// name with "Explorer" beside it, its colour field, the "Mail" page of the
// eight mail settings and the owner link they act through.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>
#include <optional>

#include "dialogs/PropertyEdit.h"
#include "dialogs/ui/DialogWidgets.h"
#include "dialogs/ui/TFormPropaty.h"

namespace zel {

class DialogHost;

class TFormFilePropaty : public TFormPropaty {
    Q_OBJECT
  public:
    explicit TFormFilePropaty(QWidget* parent = nullptr);

    // The owner link to the main window, set after loading (loading clears it).
    void setHost(DialogHost* host) { host_ = host; }

    // The colour field's click and "Explorer".
    void chooseColour();
    void explore();

    // Made by the dialog on its own page; Explorer reads the name shown.
    QLabel* StaticText_FileName = nullptr;
    ColourField* StaticText_Color;
    QPushButton* Button_Explorer;

  protected:
    // The "Mail" page added to `pages`, its boxes in the order of kMailSettingKeys.
    std::array<QLineEdit*, 8> addMailPage(QTabWidget* pages);
    // colour_ shown; none: the default face colour (no colour).
    void showColour();

    DialogHost* host_ = nullptr;
    std::optional<Color> colour_;
};

// Shows `folder`'s directory when it exists, else a confirmation box naming
// `shownName` ("Explorer" of the property dialogs).
void exploreFolderOf(DialogHost& host, std::string_view shownName);

}  // namespace zel
