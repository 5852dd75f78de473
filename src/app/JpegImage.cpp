#include "app/JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace zel {
namespace {

// libjpeg reports fatal errors through a callback that must not return; it
// jumps back into whichever step below armed the trap. Those steps keep no
// C++ objects of their own, so the jump skips no destructor.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

void leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->escape, 1);
}
void quiet(j_common_ptr) {}

bool startDecoding(jpeg_decompress_struct& info, ErrorTrap& trap, std::string_view bytes) {
    if (setjmp(trap.escape)) return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    return true;
}

bool readRows(jpeg_decompress_struct& info, ErrorTrap& trap, unsigned char* bits,
              std::size_t bytesPerLine) {
    if (setjmp(trap.escape)) return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + info.output_scanline * bytesPerLine;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

QImage decodeJpeg(std::string_view bytes) {
    if (bytes.empty()) return {};
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leave;
    trap.manager.output_message = quiet;
    jpeg_create_decompress(&info);
    QImage image;
    if (startDecoding(info, trap, bytes) && info.output_components == 3) {
        image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                       QImage::Format_RGB888);
        if (image.isNull() ||
            !readRows(info, trap, image.bits(), static_cast<std::size_t>(image.bytesPerLine()))) {
            image = QImage();
        }
    }
    jpeg_destroy_decompress(&info);
    return image;
}

}  // namespace zel
