#include "app/TFormMainRegular14.h"

namespace zel {

namespace {

// The window's design size; the settings file may change it.
constexpr int kDesignWidth = 592;
constexpr int kDesignHeight = 650;

}  // namespace

TFormMainRegular14::TFormMainRegular14(QWidget* parent) : TFormMainZELX13c(parent) {
    resize(kDesignWidth, kDesignHeight);
}

}  // namespace zel
