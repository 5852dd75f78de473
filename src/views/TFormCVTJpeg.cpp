#include "views/TFormCVTJpeg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

namespace zel {

namespace {
constexpr int kDesignWidth = 435;
constexpr int kDesignHeight = 207;
}  // namespace

TFormCVTJpeg::TFormCVTJpeg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormCVTJpeg"));
    setWindowTitle(QStringLiteral("->JPEG"));
    resize(kDesignWidth, kDesignHeight);
    auto* layout = new QVBoxLayout(this);
    CheckBox_Mono = new QCheckBox(QStringLiteral("Mono"), this);
    layout->addWidget(CheckBox_Mono);

    auto* quality = new QGroupBox(QStringLiteral("Quality"), this);
    auto* qualityLayout = new QVBoxLayout(quality);
    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel(QStringLiteral("Small Size<-"), quality));
    Label_CompressionQuality = new QLabel(QStringLiteral("100"), quality);
    Label_CompressionQuality->setObjectName(QStringLiteral("Label_CompressionQuality"));
    Label_CompressionQuality->setAlignment(Qt::AlignCenter);
    ends->addWidget(Label_CompressionQuality, 1);
    ends->addWidget(new QLabel(QStringLiteral("->Hight Quality"), quality));
    qualityLayout->addLayout(ends);
    TrackBar_CompressionQuality = new QSlider(Qt::Horizontal, quality);
    TrackBar_CompressionQuality->setObjectName(QStringLiteral("TrackBar_CompressionQuality"));
    TrackBar_CompressionQuality->setRange(1, 100);
    TrackBar_CompressionQuality->setValue(100);
    qualityLayout->addWidget(TrackBar_CompressionQuality);
    auto* presets = new QHBoxLayout;
    Button_20 = new QPushButton(QStringLiteral("20"), quality);
    Button_90 = new QPushButton(QStringLiteral("90"), quality);
    Button_95 = new QPushButton(QStringLiteral("95"), quality);
    for (QPushButton* button : {Button_20, Button_90, Button_95}) {
        presets->addWidget(button);
        const int value = button->text().toInt();
        connect(button, &QPushButton::clicked, this, [this, value] { setQuality(value); });
    }
    qualityLayout->addLayout(presets);
    layout->addWidget(quality);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button_OK = new QPushButton(QStringLiteral("OK"), this);
    Button_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Button_OK->setDefault(true);
    buttons->addWidget(Button_OK);
    buttons->addWidget(Button_Cancel);
    layout->addLayout(buttons);
    connect(Button_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(TrackBar_CompressionQuality, &QSlider::valueChanged, this,
            [this](int value) { Label_CompressionQuality->setNum(value); });
}

TFormCVTJpeg& TFormCVTJpeg::shared(QWidget* window) {
    static QPointer<TFormCVTJpeg> dialog;
    if (!dialog) dialog = new TFormCVTJpeg(window);
    return *dialog;
}

void TFormCVTJpeg::setQuality(int quality) {
    TrackBar_CompressionQuality->setValue(std::clamp(quality, 1, 100));
    Label_CompressionQuality->setNum(TrackBar_CompressionQuality->value());
}

int TFormCVTJpeg::quality() const {
    return std::clamp(Label_CompressionQuality->text().toInt(), 1, 100);
}

void TFormCVTJpeg::load(const JpegOptions& options) {
    CheckBox_Mono->setChecked(options.grayscale);
    setQuality(options.quality);
}

JpegOptions TFormCVTJpeg::choice() const {
    return {quality(), CheckBox_Mono->isChecked()};
}

bool TFormCVTJpeg::ask(JpegOptions& options) {
    load(options);
    if (parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
    if (exec() != QDialog::Accepted) return false;
    options = choice();
    return true;
}

}  // namespace zel
