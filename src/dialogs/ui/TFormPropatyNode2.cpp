#include "dialogs/ui/TFormPropatyNode2.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "dialogs/ui/DialogHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// A label that reports clicks, for the file name.
class ClickableText : public QLabel {
  public:
    ClickableText(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), onClick_(std::move(onClick)) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && onClick_) onClick_();
        QLabel::mousePressEvent(event);
    }

  private:
    std::function<void()> onClick_;
};

QComboBox* fieldBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

}  // namespace

TFormPropatyNode2::TFormPropatyNode2(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("FormPropatyNode2"));
    setWindowTitle(QStringLiteral("FormPropatyNode2"));
    resize(478, 386);
    auto* top = new QWidget(this);
    StaticText_Holder = new QLabel(top);
    StaticText_Name = new QLabel(top);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->addWidget(new QLabel(QStringLiteral("Holder"), top));
    topLayout->addWidget(StaticText_Holder, 1);
    topLayout->addWidget(new QLabel(QStringLiteral("Name"), top));
    topLayout->addWidget(StaticText_Name, 2);

    RadioGroup_EditTarget =
        new RadioGroup(QStringLiteral("Edit Target"),
                       {QStringLiteral("Current Node"), QStringLiteral("Marked Nodes"),
                        QStringLiteral("Current Holder"), QStringLiteral("All Holders")},
                       this, 2);
    RadioGroup_EditTarget->setItemIndex(0);
    StaticText_Color = new ColourField(QStringLiteral("Color"), this);
    RadioGroup_flagLink = new RadioGroup(
        QStringLiteral("flagLink"), {QStringLiteral("true"), QStringLiteral("false")}, this, 2);
    CheckBox_Creater = new QCheckBox(QStringLiteral("Creater"), this);
    CheckBox_Created = new QCheckBox(QStringLiteral("Created"), this);
    CheckBox_Modified = new QCheckBox(QStringLiteral("Modified"), this);
    auto* fileGroup = new QGroupBox(QStringLiteral("Filename"), this);
    StaticText_Filename = new ClickableText(fileGroup, [this] { chooseFilename(); });
    auto* fileLayout = new QHBoxLayout(fileGroup);
    fileLayout->addWidget(StaticText_Filename);
    Button_Close = dialogButton(QStringLiteral("Close"), this);
    Button_OK = dialogButton(QStringLiteral("OK"), this);
    auto* fieldGroup = new QGroupBox(QStringLiteral("Field "), this);
    ComboBox_Field = fieldBox(fieldGroup);
    ComboBox_value = fieldBox(fieldGroup);
    Button_BasicPut = dialogButton(QStringLiteral("BasicPut"), fieldGroup);
    auto* fieldLayout = new QGridLayout(fieldGroup);
    fieldLayout->addWidget(new QLabel(QStringLiteral("Name"), fieldGroup), 0, 0);
    fieldLayout->addWidget(ComboBox_Field, 0, 1);
    fieldLayout->addWidget(Button_BasicPut, 0, 2);
    fieldLayout->addWidget(new QLabel(QStringLiteral("Value"), fieldGroup), 1, 0);
    fieldLayout->addWidget(ComboBox_value, 1, 1);

    auto* checks = new QHBoxLayout;
    for (QCheckBox* box : {CheckBox_Creater, CheckBox_Created, CheckBox_Modified})
        checks->addWidget(box);
    checks->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(StaticText_Color);
    middle->addWidget(RadioGroup_flagLink, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_Close);
    buttons->addWidget(Button_OK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(top);
    layout->addWidget(RadioGroup_EditTarget);
    layout->addLayout(middle);
    layout->addLayout(checks);
    layout->addWidget(fileGroup);
    layout->addLayout(buttons);
    layout->addWidget(fieldGroup);
    layout->addStretch();

    connect(StaticText_Color, &ColourField::clicked, this, &TFormPropatyNode2::chooseColour);
    connect(RadioGroup_flagLink, &RadioGroup::itemChosen, this,
            [this] { shown_.flagLinkChanged = true; });
    connect(Button_Close, &QPushButton::clicked, this, &QWidget::hide);
    connect(Button_OK, &QPushButton::clicked, this, [this] { OK(); });
    connect(Button_BasicPut, &QPushButton::clicked, this, [this] { BasicPut(); });
}

void TFormPropatyNode2::bind(DialogHost& host) {
    host_ = &host;
    setFont(host.windowFont());
    MemoHolder* holder = host.getCurHolder();
    MemoNode* node = host.getCurMemoNode();
    if (!holder || !node) return;
    bound_ = NodeRef(node);
    display(bindNodeProperties(*holder, *node));
}

void TFormPropatyNode2::display(const NodeProperties& properties) {
    shown_ = properties;
    StaticText_Holder->setText(toQt(properties.holderName));
    StaticText_Name->setText(toQt(properties.nodeName));
    StaticText_Color->setColour(toQColor(properties.colour));
    RadioGroup_flagLink->setItemIndex(properties.flagLink == 1   ? 0
                                      : properties.flagLink == 0 ? 1
                                                                 : -1);
    CheckBox_Creater->setChecked(properties.creater);
    CheckBox_Created->setChecked(properties.created);
    CheckBox_Modified->setChecked(properties.modified);
    StaticText_Filename->setText(toQt(properties.filename));
}

NodeProperties TFormPropatyNode2::edited() const {
    NodeProperties properties = shown_;
    const int link = RadioGroup_flagLink->itemIndex();
    properties.flagLink = link == 0 ? 1 : link == 1 ? 0 : -1;
    properties.creater = CheckBox_Creater->isChecked();
    properties.created = CheckBox_Created->isChecked();
    properties.modified = CheckBox_Modified->isChecked();
    properties.filename = fromQt(StaticText_Filename->text());
    return properties;
}

PropertyTarget TFormPropatyNode2::target() const {
    const int index = RadioGroup_EditTarget->itemIndex();
    return static_cast<PropertyTarget>(index < 0 ? 0 : index);
}

void TFormPropatyNode2::changeEvent(QEvent* event) {
    // Coming back to the window after choosing another node shows that node.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && host_) boundCurrent();
    QWidget::changeEvent(event);
}

MemoNode* TFormPropatyNode2::boundCurrent() {
    MemoNode* current = host_ ? host_->getCurMemoNode() : nullptr;
    if (!current || !host_->getCurHolder()) return nullptr;
    if (bound_.get() == current) return current;
    // The values shown belong to another node: they must not be written
    // into this one.
    bind(*host_);
    return nullptr;
}

bool TFormPropatyNode2::collect(std::vector<MemoNode*>& nodes) {
    MemoNode* current = host_->getCurMemoNode();
    MemoHolder* holder = host_->getCurHolder();
    HolderAccess access;
    access.load = [this](MemoHolder& each) { host_->loadHolder_(each); };
    access.breakRequested = [this] { return host_->isBreakRequested(); };
    const bool all = target() == PropertyTarget::AllHolders;
    if (all) host_->startDoing_("Propaty Node All Holders");
    const bool complete =
        collectPropertyTargets(target(), host_->memoFile(), *holder, *current, access, nodes);
    if (all) host_->doneDoing_("");
    return complete;
}

int TFormPropatyNode2::OK() {
    if (!host_ || host_->nowDoing()) return -1;
    MemoNode* current = boundCurrent();
    if (!current) return -1;
    std::vector<MemoNode*> targets;
    if (!collect(targets)) return -1;
    const NodeProperties properties = edited();
    NodeApplyHooks hooks;
    hooks.beforeCurrent = [this](MemoNode& node) { host_->saveFieldsEditor(node); };
    hooks.afterCurrent = [this](MemoNode& node) { host_->reloadFieldsEditor(node); };
    const ChangedHolders changed =
        applyNodeProperties(targets, *current, current, properties, propertyStamp(clockNow()),
                            host_->userName(), hooks);
    for (MemoHolder* holder : changed.holders()) host_->holderSettingsChanged(*holder);
    host_->reportReadOnly(changed);
    return 0;
}

int TFormPropatyNode2::BasicPut() {
    if (!host_ || host_->nowDoing()) return -1;
    MemoNode* current = boundCurrent();
    if (!current) return -1;
    const std::string key = trimText(fromQt(ComboBox_Field->currentText()));
    if (key.empty()) return -1;
    if (!isStorableFieldKey(key)) {
        host_->messageBox(CompanionBox::Warning, kBadFieldKey);
        return -1;
    }
    std::vector<MemoNode*> targets;
    if (!collect(targets)) return -1;
    const PropertyTarget chosen = target();
    if (targets.empty() &&
        (chosen == PropertyTarget::MarkedNodes || chosen == PropertyTarget::CurrentHolder)) {
        host_->messageBox(CompanionBox::Warning, "No Node !");
        return -1;
    }
    NodeApplyHooks hooks;
    hooks.beforeCurrent = [this](MemoNode& node) { host_->saveFieldsEditor(node); };
    hooks.afterCurrent = [this](MemoNode& node) { host_->reloadFieldsEditor(node); };
    const ChangedHolders changed =
        putFieldIntoNodes(targets, current, key, fromQt(ComboBox_value->currentText()), hooks);
    for (MemoHolder* holder : changed.holders()) host_->holderSettingsChanged(*holder);
    host_->reportReadOnly(changed);
    return 0;
}

void TFormPropatyNode2::chooseColour() {
    if (!host_) return;
    if (std::optional<QColor> chosen = host_->chooseColor(StaticText_Color->colour())) {
        shown_.colour = fromQColor(*chosen);
        shown_.colourPicked = true;
        StaticText_Color->setColour(*chosen);
    }
}

void TFormPropatyNode2::chooseFilename() {
    if (!host_) return;
    const std::string start = stripQuotes(trimText(fromQt(StaticText_Filename->text())));
    const std::string chosen = host_->openFileName("All(*.*)|*.*", start);
    if (chosen.empty()) return;
    shown_.filename = chosen;
    shown_.filenameChosen = true;
    StaticText_Filename->setText(toQt(chosen));
}

}  // namespace zel
