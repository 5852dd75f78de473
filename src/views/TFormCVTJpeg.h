#pragma once
// The JPEG settings dialog of "->JPEG": grayscale ("Mono") and the quality,
// 1 to 100. One dialog serves the whole program.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "formats/ImageCodecs.h"

namespace zel {

class TFormCVTJpeg : public QDialog {
    Q_OBJECT
  public:
    explicit TFormCVTJpeg(QWidget* parent = nullptr);

    // The program's dialog, made on first use over `window`.
    static TFormCVTJpeg& shared(QWidget* window);

    // Loads the dialog from `options` and shows it; after OK `options` hold
    // the choice and the result is true.
    bool ask(JpegOptions& options);
    // The track bar's position and the label that shows it.
    void setQuality(int quality);
    int quality() const;
    // What OK would give, without showing the dialog.
    JpegOptions choice() const;
    void load(const JpegOptions& options);

    QCheckBox* CheckBox_Mono;
    QLabel* Label_CompressionQuality;
    QSlider* TrackBar_CompressionQuality;
    QPushButton* Button_20;
    QPushButton* Button_90;
    QPushButton* Button_95;
    QPushButton* Button_OK;
    QPushButton* Button_Cancel;
};

}  // namespace zel
