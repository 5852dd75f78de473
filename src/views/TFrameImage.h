#pragma once
// The image view: the picture of an image node (JPEG, PNG, BMP or icon) in
// the node view's body, scaled to fit or by a percentage, copied to and
// pasted from the clipboard, and converted to JPEG or BMP. It only ever
// works on the picture decoded from the node it shows: a body that does not
// decode leaves no picture, and nothing is copied or converted until one is.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>
#include <string>
#include <string_view>

#include "formats/ImageCodecs.h"
#include "formats/ImageConversion.h"
#include "views/ImageScale.h"

namespace zel {

class MemoNode;
class TFrameMemoNode;

// Image1: paints the picture, fitted into its box or at a scale.
class ImagePane : public QWidget {
    Q_OBJECT
  public:
    explicit ImagePane(QWidget* parent = nullptr);

    // `picture` must outlive the pane or be replaced before it goes.
    void setPicture(const Bitmap* picture);
    // Fitted (keeping proportions, or stretched) into the pane, or at
    // `percent` of the picture's size.
    void setFitted(bool fitted, bool proportional);
    void setPercent(int percent);
    QSize scaledSize() const;
    // Where the picture is drawn inside the pane.
    QRect pictureRect() const;

  signals:
    // The picture is about to be drawn `size` large.
    void drawnAt(QSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void renderSoon();
    void render();

    const Bitmap* picture_ = nullptr;
    bool fitted_ = true;
    bool proportional_ = true;
    int percent_ = 100;
    // The picture resampled to the size it is drawn at.
    QImage rendered_;
    QTimer renderTimer_;
};

class TFrameImage : public QWidget {
    Q_OBJECT
  public:
    // `nodeView` is the node view the image view belongs to (may be none).
    explicit TFrameImage(TFrameMemoNode* nodeView, QWidget* parent = nullptr);

    // Shows the node's content in the format its Content-Type names.
    void showJpeg(std::string_view bytes) { show(ImageFormat::Jpeg, bytes); }
    void showPng(std::string_view bytes) { show(ImageFormat::Png, bytes); }
    void showBmp(std::string_view bytes) { show(ImageFormat::Bmp, bytes); }
    void showIcon(std::string_view bytes) { show(ImageFormat::Ico, bytes); }
    void show(ImageFormat format, std::string_view bytes);
    // Forgets the picture (the node view shows another kind of body).
    void clearPicture();
    // A picture decoded from the node shown.
    bool hasPicture() const { return decoded_; }
    // What is drawn: the whole picture, or a JPEG decoded for the window.
    const Bitmap& picture() const { return picture_; }
    bool isWhole() const { return wholePending_.empty(); }

    void setCursorShape(Qt::CursorShape shape);
    void message(std::string_view text);

    // Menu handlers; each yields whether it did what it was asked.
    bool Copy();
    bool Paste();
    // The node's body becomes `image` as a bitmap, its Filename and type
    // follow; the caller has made sure the node may be changed.
    bool putImage(const QImage& image);
    bool toJpeg();
    bool toBmp();
    void SaveAs();
    // Scaling.
    void setScaleAuto(bool automatic);
    bool isScaleAuto() const { return RadioButton_Auto->isChecked(); }
    void setScalePercent(int percent);
    int scalePercent() const;
    void stepScale(ScaleStep step);
    void fitWidth();
    void fitHeight();
    void togglePanel();

    // The JPEG settings the next "->JPEG" starts from.
    JpegOptions jpegOptions{95, false};

    QWidget* PanelTop;
    QCheckBox* CheckBox_Proportional;
    QLabel* StaticText_Size;
    QGroupBox* RadioGroup_Scale;
    QRadioButton* RadioButton_Auto;
    QRadioButton* RadioButton_Manual;
    QGroupBox* GroupBox_ScaleManual;
    QComboBox* ComboBox_Scale;
    QPushButton* Button_100;
    QPushButton* Button_Width;
    QPushButton* Button_Height;
    QScrollArea* ScrollBox1;
    ImagePane* Image1;
    QMenu* PopupMenu1;

  private:
    void buildPanel();
    void buildMenu();
    void applyScale();
    // The conversions' shared steps.
    bool convert(ImageTarget target);
    bool refusesChange();
    // Puts `bytes` of `type` (unquoted) into the node as its new body with
    // Filename `fileName`; a linked node's file is written first. False when
    // nothing changed.
    bool replaceBody(MemoNode& node, const std::string& bytes, std::string_view type,
                     const std::string& fileName);
    void setPicture(Bitmap picture, bool decoded);
    // A JPEG is first decoded at the size the window needs; the whole
    // picture is decoded when something needs it (a conversion, a copy, a
    // manual scale, a larger window). False when it then does not read.
    bool ensureWhole();
    std::string nowStamp() const;

    TFrameMemoNode* nodeView_;
    Bitmap picture_;
    bool decoded_ = false;
    // The JPEG whose whole picture is still to be decoded; empty when
    // picture_ is whole.
    std::string wholePending_;
};

}  // namespace zel
