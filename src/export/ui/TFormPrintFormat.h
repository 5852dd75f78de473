#pragma once
// The print format dialog of the text printer: font, margins, columns, line
// numbers, header and footer, page and line ranges, odd or even pages, and
// the current printer. It edits its own copy of the settings, every change at
// once; the caller takes them over only on OK. Given lines to print, it also
// previews and prints them with the settings being edited.

#include <QDialog>
#include <string>
#include <vector>

#include "export/TextPrinter.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace zel {

class QtPrintHost;

class TFormStringsPrint : public QDialog {
    Q_OBJECT
  public:
    // `lines` may be null: then nothing can be previewed or printed.
    TFormStringsPrint(const TStringsPrinter& printer, QPrinter& qprinter,
                      const std::vector<std::string>* lines, QtPrintHost& host,
                      QWidget* parent = nullptr);

    const PrintSettings& settings() const { return printer_.settings; }

    QComboBox* fontName;
    QComboBox* fontSize;
    QSpinBox* marginLeft;
    QSpinBox* marginRight;
    QSpinBox* marginTop;
    QSpinBox* marginBottom;
    QSpinBox* marginLine;
    QSpinBox* columnSpace;
    QButtonGroup* columns;  // ids 0-2 for one to three columns
    QCheckBox* lineNumber;
    QButtonGroup* headerAlign;  // ids as HeaderAlign
    QButtonGroup* footerAlign;
    QLineEdit* header;
    QLineEdit* footer;
    QButtonGroup* pageOption;   // ids as PageOption
    QButtonGroup* rangeOption;  // ids as RangeOption
    QButtonGroup* lineRangeOption;
    QLineEdit* startPage;
    QLineEdit* lastPage;
    QLineEdit* firstPageNumber;
    QLineEdit* startLine;
    QLineEdit* lastLine;
    QLineEdit* firstLineNumber;
    QLabel* printerName;
    QLabel* printerOrientation;
    QLabel* paperSize;
    QPushButton* printerSettingButton;
    QPushButton* helpButton;
    QPushButton* previewButton;
    QPushButton* printButton;
    QPushButton* okButton;
    QPushButton* cancelButton;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct NumberField {
        QLineEdit* edit;
        int (PrintSettings::*get)() const;
        void (PrintSettings::*set)(long long);
    };

    void showSettings();
    void showPrinter();
    void numberEdited(const NumberField& field, bool finished);
    void rangeChosen(bool pages);
    void resetNumbers();
    void help();
    void preview();
    void print();

    TStringsPrinter printer_;
    QPrinter& qprinter_;
    const std::vector<std::string>* lines_;
    QtPrintHost& host_;
    std::vector<NumberField> numbers_;
    bool showing_ = false;
};

}  // namespace zel
