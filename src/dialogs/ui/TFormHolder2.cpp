#include "dialogs/ui/TFormHolder2.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "dialogs/ui/DialogHost.h"
#include "model/MemoHolder.h"
#include "text/LineList.h"
#include "views/ViewText.h"

namespace zel {

namespace {

QLabel* staticText(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(60);
    return label;
}

QComboBox* choiceBox(const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

}  // namespace

TFormHolder2::TFormHolder2(QWidget* parent) : TFormFilePropaty(parent) {
    setObjectName(QStringLiteral("FormHolder2"));
    setWindowTitle(QStringLiteral("Holder Propaty"));
    resize(598, 586);
    MainMenu1 = new QMenuBar(this);
    MainMenu1->addAction(QStringLiteral("&CLOSE"));
    layout()->setMenuBar(MainMenu1);

    PageControl1 = new QTabWidget(this);
    auto* general = new QWidget(PageControl1);
    RadioGroup_NewNodeName = new RadioGroup(
        QStringLiteral("NewNodeName"),
        {QStringLiteral("Daily"), QStringLiteral("Glossary"), QStringLiteral("Number")}, general);
    CheckBox_ReadOnly = new QCheckBox(QStringLiteral("ReadOnly"), general);
    CheckBox_Extra = new QCheckBox(QStringLiteral("Extra"), general);
    CheckBox_Sort = new QCheckBox(QStringLiteral("SORT"), general);
    RadioGroup_SortType =
        new RadioGroup(QStringLiteral("SortType"),
                       {QStringLiteral("ascending"), QStringLiteral("descending ")}, general);
    RadioGroup_NewNodeOP = new RadioGroup(QStringLiteral("NewNodeOP"),
                                          {QStringLiteral("Normal"), QStringLiteral("Plain"),
                                           QStringLiteral("Current"), QStringLiteral("Select")},
                                          general, 2);
    StaticText_CountOfNodes = staticText(general);
    ComboBox_FormatDate = choiceBox(
        {QStringLiteral("YYYYMMDD"), QStringLiteral("YYYYMMDD ddd"), QStringLiteral("YYYY/MM/DD"),
         QStringLiteral("YYYY/MM/DD ddd"), QStringLiteral("YYYY/MM/DD dddd"),
         QStringLiteral("YYYY/MM/DD ddddd"),
         QString::fromUtf8("YYYY\"\xE5\xB9\xB4\"MM\"\xE6\x9C\x88\"DD\"\xE6\x97\xA5(\"ddd\")\" ")},
        general);
    ComboBox_FormatNumber = choiceBox({QStringLiteral("%.5d")}, general);
    CheckBox_FlagSameName = new QCheckBox(QStringLiteral("FlagSameName"), general);
    Edit_SelectNodeName = new QLineEdit(general);
    Edit_Alias = new QLineEdit(general);
    StaticText_QueryNode = staticText(general);
    StaticText_FileName = staticText(general);
    StaticText_Name = staticText(general);
    StaticText_CountSave = staticText(general);
    StaticText_TimeSaved = staticText(general);
    RadioGroup_FileExt = new RadioGroup(QStringLiteral("FileExt"),
                                        {QStringLiteral(".mxh"), QStringLiteral(".mhz")}, general);

    auto* flags = new QVBoxLayout;
    flags->addWidget(CheckBox_ReadOnly);
    flags->addWidget(CheckBox_Extra);
    flags->addWidget(CheckBox_Sort);
    auto* choices = new QHBoxLayout;
    choices->addWidget(RadioGroup_NewNodeName);
    choices->addLayout(flags);
    choices->addWidget(RadioGroup_SortType);
    choices->addWidget(RadioGroup_NewNodeOP);
    choices->addWidget(RadioGroup_FileExt);
    auto* form = new QGridLayout;
    int row = 0;
    auto line = [&](const char* caption, QWidget* field, QWidget* beside = nullptr) {
        form->addWidget(new QLabel(QString::fromLatin1(caption), general), row, 0);
        form->addWidget(field, row, 1);
        if (beside) form->addWidget(beside, row, 2);
        ++row;
    };
    line("Count of Node", StaticText_CountOfNodes);
    line("FormatDate", ComboBox_FormatDate);
    line("FormatNumber", ComboBox_FormatNumber);
    line("SelectNodeName", Edit_SelectNodeName, CheckBox_FlagSameName);
    line("Alias", Edit_Alias);
    line("QueryNode", StaticText_QueryNode);
    line("FileName", StaticText_FileName, Button_Explorer);
    line("Name", StaticText_Name, StaticText_Color);
    line("CountSave", StaticText_CountSave);
    line("TimeSaved", StaticText_TimeSaved);
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addLayout(choices);
    generalLayout->addLayout(form);
    PageControl1->addTab(general, QStringLiteral("General"));

    const auto boxes = addMailPage(PageControl1);
    QLineEdit** named[] = {&Edit_SMTPServer, &Edit_POPServer, &Edit_To,      &Edit_CC,
                           &Edit_BCC,        &Edit_From,      &Edit_ReplyTo, &Edit_UserID};
    for (std::size_t i = 0; i < boxes.size(); ++i) *named[i] = boxes[i];

    Memo_Memo = new QPlainTextEdit(this);
    body()->addWidget(PageControl1);
    body()->addWidget(Memo_Memo, 1);
}

std::array<QLineEdit*, 8> TFormHolder2::mailBoxes() const {
    return {Edit_SMTPServer, Edit_POPServer, Edit_To,      Edit_CC,
            Edit_BCC,        Edit_From,      Edit_ReplyTo, Edit_UserID};
}

int TFormHolder2::loadRecord_(MemoBasic& record) {
    auto* holder = dynamic_cast<MemoHolder*>(&record);
    if (!holder) return -1;
    holder_ = holder;
    host_ = nullptr;
    loaded_ = loadHolderSettings(*holder);
    const HolderSettings& s = loaded_;
    RadioGroup_NewNodeName->setItemText(toQt(s.newNodeName));
    RadioGroup_NewNodeOP->setItemText(toQt(s.newNodeOption));
    ComboBox_FormatDate->setEditText(toQt(s.formatDate));
    ComboBox_FormatNumber->setEditText(toQt(s.formatNumber));
    Edit_SelectNodeName->setText(toQt(s.selectNodeName));
    StaticText_QueryNode->setText(toQt(s.queryNode));
    StaticText_FileName->setText(toQt(s.fileName));
    StaticText_Name->setText(toQt(s.name));
    CheckBox_Sort->setChecked(s.sort);
    RadioGroup_SortType->setItemIndex(s.ascending ? 0 : 1);
    CheckBox_ReadOnly->setChecked(s.readOnly);
    CheckBox_Extra->setChecked(s.extra);
    RadioGroup_FileExt->setItemText(toQt(s.fileExt));
    colour_ = s.colour;
    showColour();
    Memo_Memo->setPlainText(linesToQt(s.memo));
    StaticText_CountOfNodes->setText(QString::number(s.countOfNodes));
    CheckBox_FlagSameName->setChecked(s.sameName);
    StaticText_CountSave->setText(QString::number(s.countSave));
    StaticText_TimeSaved->setText(toQt(s.timeSaved));
    const auto boxes = mailBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setText(toQt(s.mail[i]));
    return 0;
}

HolderSettings TFormHolder2::shownSettings() const {
    HolderSettings s = loaded_;
    s.newNodeName = fromQt(RadioGroup_NewNodeName->itemText());
    s.newNodeOption = fromQt(RadioGroup_NewNodeOP->itemText());
    s.fileExt = fromQt(RadioGroup_FileExt->itemText());
    s.formatDate = fromQt(ComboBox_FormatDate->currentText());
    s.formatNumber = fromQt(ComboBox_FormatNumber->currentText());
    s.selectNodeName = fromQt(Edit_SelectNodeName->text());
    s.sort = CheckBox_Sort->isChecked();
    s.ascending = RadioGroup_SortType->itemIndex() == 0;
    s.readOnly = CheckBox_ReadOnly->isChecked();
    s.extra = CheckBox_Extra->isChecked();
    s.sameName = CheckBox_FlagSameName->isChecked();
    s.colour = colour_;
    // The editor's lines; an unedited text gives the loaded lines back.
    const std::string memo = fromQt(Memo_Memo->toPlainText());
    s.memo = memo == fromQt(linesToQt(loaded_.memo)) ? loaded_.memo : textLines(memo);
    const auto boxes = mailBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) s.mail[i] = fromQt(boxes[i]->text());
    return s;
}

int TFormHolder2::storeRecord_() {
    if (!host_ || !holder_) return -1;
    HolderStoreHooks hooks;
    hooks.beforeReadOnly = [this] { host_->switchUIReadOnly(); };
    const int written = storeHolderSettings(*holder_, loaded_, shownSettings(), hooks);
    if (written > 0) {
        host_->refreshReadOnlyIndicator();
        host_->holderSettingsChanged(*holder_);
    }
    loaded_ = loadHolderSettings(*holder_);
    return written;
}

}  // namespace zel
