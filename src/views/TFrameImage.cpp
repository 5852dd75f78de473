#include "views/TFrameImage.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "formats/ImageConversion.h"
#include "formats/TContent.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/DateTime.h"
#include "text/TextHelpers.h"
#include "views/BitmapQt.h"
#include "views/BodyPaths.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kDesignWidth = 428;
constexpr int kDesignHeight = 295;
constexpr int kPanelHeight = 65;
constexpr int kWhiteBox = 50;
constexpr int kRenderDelayMs = 40;
// A JPEG shown first is decoded for a window at least this large.
constexpr int kLeastBoxWidth = 640;
constexpr int kLeastBoxHeight = 480;
// Larger renditions are drawn through a transform instead of being kept.
constexpr long long kMostRenderedPixels = 4096LL * 4096LL;
constexpr const char* kScaleList[] = {"400", "300", "200", "150", "125", "100",
                                      "75",  "50",  "25",  "10",  "5"};

}  // namespace

// --- Image1 ------------------------------------------------------------------------

ImagePane::ImagePane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    renderTimer_.setSingleShot(true);
    renderTimer_.setInterval(kRenderDelayMs);
    connect(&renderTimer_, &QTimer::timeout, this, [this] {
        render();
        update();
    });
}

void ImagePane::setPicture(const Bitmap* picture) {
    picture_ = picture && !picture->isNull() ? picture : nullptr;
    render();
    update();
}

void ImagePane::setFitted(bool fitted, bool proportional) {
    if (fitted == fitted_ && proportional == proportional_) return;
    fitted_ = fitted;
    proportional_ = proportional;
    render();
    update();
}

void ImagePane::setPercent(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    if (!fitted_) {
        render();
        update();
    }
}

QSize ImagePane::scaledSize() const {
    if (!picture_) return {0, 0};
    auto side = [this](int pixels) {
        return static_cast<int>(
            std::max<long long>(1, (static_cast<long long>(pixels) * percent_ + 50) / 100));
    };
    return {side(picture_->width), side(picture_->height)};
}

QRect ImagePane::pictureRect() const {
    if (!picture_) return {};
    if (!fitted_) return QRect(QPoint(0, 0), scaledSize());
    if (!proportional_) return rect();
    int w = 0, h = 0;
    fitInside(picture_->width, picture_->height, width(), height(), w, h);
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

void ImagePane::render() {
    rendered_ = QImage();
    const QRect target = pictureRect();
    if (picture_ && !target.isEmpty()) emit drawnAt(target.size());
    if (!picture_ || target.isEmpty() ||
        static_cast<long long>(target.width()) * target.height() > kMostRenderedPixels)
        return;
    rendered_ = toQImage(scaledBitmap(*picture_, target.width(), target.height()));
}

void ImagePane::renderSoon() {
    renderTimer_.start();
}

void ImagePane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // While the user drags, the last rendition is stretched; the sharp one
    // follows once the size settles.
    if (fitted_) renderSoon();
}

void ImagePane::paintEvent(QPaintEvent* event) {
    if (!picture_) return;
    QPainter painter(this);
    const QRect target = pictureRect();
    if (rendered_.size() == target.size()) {
        painter.drawImage(target.topLeft(), rendered_);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!rendered_.isNull()) {
        painter.drawImage(target, rendered_);
        return;
    }
    // Only the exposed part, straight from the picture.
    const QRect exposed = event->rect().intersected(target);
    if (exposed.isEmpty()) return;
    const double sx = static_cast<double>(picture_->width) / target.width();
    const double sy = static_cast<double>(picture_->height) / target.height();
    const QRectF source((exposed.x() - target.x()) * sx, (exposed.y() - target.y()) * sy,
                        exposed.width() * sx, exposed.height() * sy);
    painter.drawImage(QRectF(exposed), imageView(*picture_), source);
}

// --- The frame -------------------------------------------------------------------

TFrameImage::TFrameImage(TFrameMemoNode* nodeView, QWidget* parent)
    : QWidget(parent), nodeView_(nodeView) {
    setObjectName(QStringLiteral("FrameImage"));
    resize(kDesignWidth, kDesignHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildPanel();
    layout->addWidget(PanelTop);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setWidgetResizable(true);
    Image1 = new ImagePane(ScrollBox1);
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);
    connect(Image1, &ImagePane::drawnAt, this, [this](QSize size) {
        if (!isWhole() && (size.width() > picture_.width || size.height() > picture_.height))
            QTimer::singleShot(0, this, [this] { ensureWhole(); });
    });
    buildMenu();
    setScaleAuto(true);
}

void TFrameImage::buildPanel() {
    PanelTop = new QWidget(this);
    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setFixedHeight(kPanelHeight);
    auto* top = new QHBoxLayout(PanelTop);
    top->setContentsMargins(4, 0, 4, 0);
    CheckBox_Proportional = new QCheckBox(QStringLiteral("Proportional"), PanelTop);
    CheckBox_Proportional->setChecked(true);
    top->addWidget(CheckBox_Proportional);
    top->addWidget(new QLabel(QStringLiteral("size"), PanelTop));
    StaticText_Size = new QLabel(QStringLiteral("0"), PanelTop);
    StaticText_Size->setObjectName(QStringLiteral("StaticText_Size"));
    StaticText_Size->setFrameShape(QFrame::Panel);
    StaticText_Size->setFrameShadow(QFrame::Sunken);
    top->addWidget(StaticText_Size);

    RadioGroup_Scale = new QGroupBox(QStringLiteral("Scale"), PanelTop);
    auto* radios = new QHBoxLayout(RadioGroup_Scale);
    RadioButton_Auto = new QRadioButton(QStringLiteral("Auto"), RadioGroup_Scale);
    RadioButton_Manual = new QRadioButton(QStringLiteral("Manual"), RadioGroup_Scale);
    radios->addWidget(RadioButton_Auto);
    radios->addWidget(RadioButton_Manual);
    top->addWidget(RadioGroup_Scale);

    GroupBox_ScaleManual = new QGroupBox(QStringLiteral("Scale Manual"), PanelTop);
    auto* manual = new QHBoxLayout(GroupBox_ScaleManual);
    ComboBox_Scale = new QComboBox(GroupBox_ScaleManual);
    ComboBox_Scale->setObjectName(QStringLiteral("ComboBox_Scale"));
    ComboBox_Scale->setEditable(true);
    for (const char* percent : kScaleList) ComboBox_Scale->addItem(QLatin1String(percent));
    ComboBox_Scale->setEditText(QStringLiteral("100"));
    Button_100 = new QPushButton(QStringLiteral("100"), GroupBox_ScaleManual);
    Button_Width = new QPushButton(QStringLiteral("Width"), GroupBox_ScaleManual);
    Button_Height = new QPushButton(QStringLiteral("Height"), GroupBox_ScaleManual);
    manual->addWidget(ComboBox_Scale);
    manual->addWidget(Button_100);
    manual->addWidget(Button_Width);
    manual->addWidget(Button_Height);
    top->addWidget(GroupBox_ScaleManual, 1);
    PanelTop->hide();

    connect(CheckBox_Proportional, &QCheckBox::toggled, this, [this] { applyScale(); });
    connect(RadioButton_Auto, &QRadioButton::toggled, this, [this](bool on) { setScaleAuto(on); });
    connect(ComboBox_Scale, &QComboBox::editTextChanged, this, [this] { applyScale(); });
    connect(Button_100, &QPushButton::clicked, this, [this] { setScalePercent(100); });
    connect(Button_Width, &QPushButton::clicked, this, [this] { fitWidth(); });
    connect(Button_Height, &QPushButton::clicked, this, [this] { fitHeight(); });
}

void TFrameImage::buildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(QStringLiteral("Copy"), this, [this] { Copy(); });
    PopupMenu1->addAction(QStringLiteral("Paste"), this, [this] { Paste(); });
    PopupMenu1->addAction(QStringLiteral("->JPEG"), this, [this] { toJpeg(); });
    PopupMenu1->addAction(QStringLiteral("->BMP"), this, [this] { toBmp(); });
    PopupMenu1->addAction(QStringLiteral("SaveAs"), this, [this] { SaveAs(); });
    PopupMenu1->addAction(QStringLiteral("Scale Auto"), this, [this] { setScaleAuto(true); });
    QMenu* manual = PopupMenu1->addMenu(QStringLiteral("Scale Manual"));
    manual->addAction(QStringLiteral("1/1"), this, [this] {
        setScaleAuto(false);
        setScalePercent(100);
    });
    const std::pair<const char*, ScaleStep> steps[] = {{"+10%", ScaleStep::Plus10},
                                                       {"+50%", ScaleStep::Plus50},
                                                       {"-10%", ScaleStep::Minus10},
                                                       {"-50%", ScaleStep::Minus50}};
    for (const auto& [caption, step] : steps)
        manual->addAction(QLatin1String(caption), this, [this, step = step] { stepScale(step); });
    manual->addAction(QStringLiteral("Width"), this, [this] {
        setScaleAuto(false);
        fitWidth();
    });
    manual->addAction(QStringLiteral("Hight"), this, [this] {
        setScaleAuto(false);
        fitHeight();
    });
    PopupMenu1->addAction(QStringLiteral("Panel"), this, [this] { togglePanel(); });
    for (QWidget* widget :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(Image1), ScrollBox1->viewport()}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this,
                [this, widget](const QPoint& at) { PopupMenu1->popup(widget->mapToGlobal(at)); });
    }
}

// --- Showing -----------------------------------------------------------------------

void TFrameImage::show(ImageFormat format, std::string_view bytes) {
    StaticText_Size->setText(QString::number(static_cast<qulonglong>(bytes.size())));
    if (bytes.empty() && format != ImageFormat::Ico) {
        if (format == ImageFormat::Jpeg || format == ImageFormat::Png)
            message("Draw White Box. aStrem.size = 0");
        setPicture(whiteBitmap(kWhiteBox, kWhiteBox), true);
        return;
    }
    wholePending_.clear();
    DecodedImage decoded;
    if (format == ImageFormat::Jpeg) {
        const QSize box =
            ScrollBox1->viewport()->size().expandedTo(QSize(kLeastBoxWidth, kLeastBoxHeight));
        decoded = decodeJpegToFit(bytes, box.width(), box.height());
        if (decoded.ok() && decoded.bitmap.width < decoded.wholeWidth) wholePending_ = bytes;
    } else {
        decoded = decodeImage(bytes, format);
    }
    if (!decoded.ok()) {
        // Never the previous node's picture under this node's name.
        setPicture({}, false);
        message(decoded.error);
        return;
    }
    setPicture(std::move(decoded.bitmap), true);
}

void TFrameImage::clearPicture() {
    wholePending_.clear();
    setPicture({}, false);
    StaticText_Size->setNum(0);
}

void TFrameImage::setPicture(Bitmap picture, bool decoded) {
    // The pane reads the picture: it lets go of the old one first.
    Image1->setPicture(nullptr);
    picture_ = std::move(picture);
    decoded_ = decoded && !picture_.isNull();
    Image1->setPicture(&picture_);
    applyScale();
}

bool TFrameImage::ensureWhole() {
    if (wholePending_.empty()) return decoded_;
    const std::string bytes = std::move(wholePending_);
    wholePending_.clear();
    DecodedImage whole = decodeJpeg(bytes);
    if (!whole.ok()) {
        setPicture({}, false);
        message(whole.error);
        return false;
    }
    setPicture(std::move(whole.bitmap), true);
    return true;
}

void TFrameImage::setCursorShape(Qt::CursorShape shape) {
    Image1->setCursor(shape);
    ScrollBox1->setCursor(shape);
}

void TFrameImage::message(std::string_view text) {
    if (nodeView_)
        nodeView_->message(text);
    else
        QMessageBox::information(this, QString(), toQt(text));
}

// --- Scaling -----------------------------------------------------------------------

void TFrameImage::setScaleAuto(bool automatic) {
    {
        const QSignalBlocker quiet(RadioButton_Auto);
        RadioButton_Auto->setChecked(automatic);
        RadioButton_Manual->setChecked(!automatic);
    }
    GroupBox_ScaleManual->setVisible(!automatic);
    GroupBox_ScaleManual->setEnabled(!automatic);
    applyScale();
}

void TFrameImage::applyScale() {
    const bool automatic = RadioButton_Auto->isChecked();
    ScrollBox1->setWidgetResizable(automatic);
    Image1->setFitted(automatic, CheckBox_Proportional->isChecked());
    if (automatic) return;
    // Percentages are of the picture's own size.
    ensureWhole();
    Image1->setPercent(appliedPercent(fromQt(ComboBox_Scale->currentText())));
    Image1->resize(Image1->scaledSize());
}

int TFrameImage::scalePercent() const {
    return leadingPercent(fromQt(ComboBox_Scale->currentText()));
}

void TFrameImage::setScalePercent(int percent) {
    ComboBox_Scale->setEditText(QString::number(percent));
    applyScale();
}

void TFrameImage::stepScale(ScaleStep step) {
    setScaleAuto(false);
    setScalePercent(steppedPercent(scalePercent(), step));
}

void TFrameImage::fitWidth() {
    if (!ensureWhole() || picture_.isNull()) return;
    setScalePercent(fittingPercent(ScrollBox1->width(), picture_.width));
}

void TFrameImage::fitHeight() {
    if (!ensureWhole() || picture_.isNull()) return;
    setScalePercent(fittingPercent(ScrollBox1->height(), picture_.height));
}

void TFrameImage::togglePanel() {
    PanelTop->setVisible(PanelTop->isHidden());
}

// --- Clipboard and conversions -------------------------------------------------------

bool TFrameImage::Copy() {
    MemoNode* node = nodeView_ ? nodeView_->node() : nullptr;
    if (!node) return false;
    if (!ensureWhole()) {
        message("No picture to copy: the body of this node could not be read.");
        return false;
    }
    if (imageFormatOfType(node->getField_("Content-Type")) == ImageFormat::Unknown) {
        message("no support format.");
        return false;
    }
    // A copy: the clipboard must not share pixels the next node replaces.
    QApplication::clipboard()->setImage(imageView(picture_).copy());
    return true;
}

bool TFrameImage::Paste() {
    if (!nodeView_) return false;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasImage()) {
        message("Not Image");
        const QString text = QApplication::clipboard()->text();
        if (text.isEmpty()) {
            message("no text");
            return false;
        }
        NodeViewOwner* owner = nodeView_->owner();
        return owner && owner->newMemoNodeWithText(fromQt(text));
    }
    if (nodeView_->refusesNodeChange()) return false;
    return putImage(qvariant_cast<QImage>(data->imageData()));
}

bool TFrameImage::putImage(const QImage& image) {
    MemoNode* node = nodeView_ ? nodeView_->node() : nullptr;
    if (!node) return false;
    const EncodedImage bmp = encodeBmp(fromQImage(image));
    if (!bmp.ok()) {
        message(bmp.error);
        return false;
    }
    nodeView_->fieldsToModel();
    const std::string newFile =
        convertedFileName(stripQuotes(node->getField_("Filename")), ".bmp", nowStamp());
    if (!replaceBody(*node, bmp.bytes, "image/bmp", newFile)) return false;
    nodeView_->fieldsToView();
    nodeView_->nodeChanged();
    show(ImageFormat::Bmp, bmp.bytes);
    return true;
}

bool TFrameImage::toJpeg() {
    return convert(ImageTarget::Jpeg);
}

bool TFrameImage::toBmp() {
    return convert(ImageTarget::Bmp);
}

bool TFrameImage::convert(ImageTarget target) {
    MemoNode* node = nodeView_ ? nodeView_->node() : nullptr;
    if (!node || nodeView_->refusesNodeChange()) return false;
    const bool jpeg = target == ImageTarget::Jpeg;
    const std::string type = node->getField_("Content-Type");
    if (imageFormatOfType(type) == ImageFormat::Unknown) {
        message(jpeg ? "not understand image format " + type : "not understand image format");
        return false;
    }
    if (!ensureWhole()) {
        message("No picture to convert: the body of this node could not be read.");
        return false;
    }
    JpegOptions options = jpegOptions;
    if (jpeg) {
        NodeViewOwner* owner = nodeView_->owner();
        if (!owner || !owner->askJpegSettings(options)) return false;
        jpegOptions = options;
    }
    // Encoded first: a conversion that yields nothing changes nothing.
    const ImageConversion converted = convertPicture(picture_, target, options);
    if (!converted.ok()) {
        if (jpeg && nodeView_->owner())
            nodeView_->owner()->nodeViewBox(BoxTone::Information, "size = 0 in [->JPEG]");
        else
            message(converted.error);
        return false;
    }
    nodeView_->fieldsToModel();
    const std::string oldFile = stripQuotes(node->getField_("Filename"));
    const std::string newFile = convertedFileName(oldFile, converted.extension, nowStamp());
    const std::string oldName = node->getName_();
    if (!replaceBody(*node, converted.bytes, converted.contentType, newFile)) return false;
    nodeView_->fieldsToView();
    const std::string newName = convertedNodeName(oldName, oldFile, newFile, converted.extension);
    if (!newName.empty()) nodeView_->renameNode(newName);
    nodeView_->nodeChanged();
    nodeView_->showBodyAgain();
    return true;
}

bool TFrameImage::replaceBody(MemoNode& node, const std::string& bytes, std::string_view type,
                              const std::string& fileName) {
    if (node.isLinked_()) {
        // The holder does not store a linked body: its file must hold it, or
        // it would be gone at the next load.
        const std::string path = holderRelativePath(node, fileName);
        NodeViewOwner* owner = nodeView_->owner();
        if (pathExists(path) && !(owner && owner->askYesNo(path + " exists. Overwrite?"))) {
            message("Cancel: " + path + " exists.");
            return false;
        }
        const IoResult written = writeFileSafely(path, bytes);
        if (!written) {
            message("ERROR: " + written.message);
            return false;
        }
    }
    if (!node.isBinary_()) node.putField_("Content-Transfer-Encoding", "\"binary\"");
    node.putField_("Filename", wrapQuotes(fileName));
    node.putField_("Content-Type", wrapQuotes(type));
    if (!node.content) node.content = std::make_unique<TContent>();
    node.content->stream = bytes;
    node.content->contentType = std::string(type);
    node.content->transferEncoding = "binary";
    return true;
}

void TFrameImage::SaveAs() {
    MemoNode* node = nodeView_ ? nodeView_->node() : nullptr;
    NodeViewOwner* owner = nodeView_ ? nodeView_->owner() : nullptr;
    if (node && owner && owner->isMainWindow()) owner->saveNodeAsFromView(*node);
}

std::string TFrameImage::nowStamp() const {
    return formatDateTime("yyyymmddhhnnss", nodeView_ ? nodeView_->clock() : currentDateTime());
}

}  // namespace zel
