// JPEG through libjpeg. Its fatal errors arrive in a callback that must not
// return: it jumps back into whichever step below armed the trap. Those steps
// keep no C++ objects of their own, so the jump skips no destructor.

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

#include "formats/ImageCodecs.h"

namespace zel {

namespace {

struct Trap {
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    std::jmp_buf escape;
    int maxScans = 0;
    char message[JMSG_LENGTH_MAX] = {};
};

Trap& trapOf(j_common_ptr info) {
    return *reinterpret_cast<Trap*>(info->err);
}

[[noreturn]] void leave(j_common_ptr info) {
    Trap& trap = trapOf(info);
    (*info->err->format_message)(info, trap.message);
    std::longjmp(trap.escape, 1);
}

// Warnings pass (many cameras write harmless ones), except the end of the
// data: a cut-off file would otherwise come out padded with gray.
void onMessage(j_common_ptr info, int level) {
    if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) leave(info);
    if (level == -1) ++info->err->num_warnings;
}

void onProgress(j_common_ptr info) {
    if (!info->is_decompressor) return;
    auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    Trap& trap = trapOf(info);
    if (decoder->input_scan_number > trap.maxScans) {
        std::snprintf(trap.message, sizeof trap.message, "more than %d scans", trap.maxScans);
        std::longjmp(trap.escape, 1);
    }
}

void arm(Trap& trap, jpeg_error_mgr*& slot) {
    slot = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leave;
    trap.manager.emit_message = onMessage;
}

std::string failed(const Trap& trap) {
    return std::string("Not a readable JPEG picture: ") + trap.message;
}

// --- Reading ---------------------------------------------------------------------

// The header, and the output size: the whole picture, or with `box` set the
// smallest of 1/8, 2/8, 4/8 and 8/8 of it that still covers the picture
// fitted into the box (the DCT then skips what the window cannot show).
bool readHeader(jpeg_decompress_struct& info, Trap& trap, std::string_view bytes, int boxWidth,
                int boxHeight) {
    if (setjmp(trap.escape)) return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    switch (info.jpeg_color_space) {
        case JCS_GRAYSCALE:
            info.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            info.out_color_space = JCS_CMYK;
            break;
        default:
            info.out_color_space = JCS_RGB;
    }
    if (boxWidth > 0 && boxHeight > 0) {
        int fittedWidth = 0, fittedHeight = 0;
        fitInside(static_cast<int>(info.image_width), static_cast<int>(info.image_height), boxWidth,
                  boxHeight, fittedWidth, fittedHeight);
        for (unsigned eighths : {1u, 2u, 4u, 8u}) {
            const unsigned long w = (info.image_width * eighths + 7) / 8;
            const unsigned long h = (info.image_height * eighths + 7) / 8;
            if (eighths == 8 || (w >= static_cast<unsigned long>(fittedWidth) &&
                                 h >= static_cast<unsigned long>(fittedHeight))) {
                info.scale_num = eighths;
                info.scale_denom = 8;
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool readRows(jpeg_decompress_struct& info, Trap& trap, Bitmap& bitmap, std::uint8_t* work) {
    if (setjmp(trap.escape)) return false;
    jpeg_start_decompress(&info);
    const bool cmyk = info.out_color_space == JCS_CMYK;
    constexpr int kRows = 16;
    JSAMPROW rows[kRows];
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int count = std::min<int>(kRows, bitmap.height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = cmyk ? work + static_cast<std::size_t>(i) * bitmap.width * 4
                           : bitmap.row(first + i);
        const int read = static_cast<int>(jpeg_read_scanlines(&info, rows, count));
        if (cmyk) {
            // Adobe writes CMYK inverted; others as printed.
            const bool inverted = info.saw_Adobe_marker;
            for (int i = 0; i < read; ++i) {
                const std::uint8_t* in = rows[i];
                std::uint8_t* to = bitmap.row(first + i);
                for (int x = 0; x < bitmap.width; ++x, in += 4, to += 3) {
                    const unsigned k = inverted ? in[3] : 255u - in[3];
                    for (int c = 0; c < 3; ++c) {
                        const unsigned v = inverted ? in[c] : 255u - in[c];
                        to[c] = static_cast<std::uint8_t>((v * k + 127u) / 255u);
                    }
                }
            }
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

// --- Writing ---------------------------------------------------------------------

// The compressed bytes go straight into the result: one block, reserved for
// what a picture of that size usually takes, grown a step at a time so only
// the part written is ever touched (a growing buffer of libjpeg's own would be
// copied at every doubling and then once more into the result).
struct StringDestination {
    jpeg_destination_mgr manager;
    std::string* out;
    std::size_t step;  // bytes offered at a time
};

StringDestination& destinationOf(j_compress_ptr info) {
    return *reinterpret_cast<StringDestination*>(info->dest);
}

// No exception may leave a callback through libjpeg: running out of memory
// becomes libjpeg's own error, which jumps back through the trap.
void offerRoom(j_compress_ptr info, std::size_t used) {
    StringDestination& destination = destinationOf(info);
    std::string& out = *destination.out;
    bool grown = true;
    try {
        out.resize(used + destination.step);
    } catch (const std::exception&) {
        grown = false;
    }
    if (!grown) ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    info->dest->next_output_byte = reinterpret_cast<JOCTET*>(out.data() + used);
    info->dest->free_in_buffer = out.size() - used;
}

void startDestination(j_compress_ptr info) {
    offerRoom(info, 0);
}

// Called when the room offered is full.
boolean growDestination(j_compress_ptr info) {
    offerRoom(info, destinationOf(info).out->size());
    return TRUE;
}

void endDestination(j_compress_ptr info) {
    std::string& out = *destinationOf(info).out;
    out.resize(out.size() - info->dest->free_in_buffer);
}

bool compress(jpeg_compress_struct& info, Trap& trap, const Bitmap& bitmap,
              const JpegOptions& options, StringDestination& destination) {
    if (setjmp(trap.escape)) return false;
    destination.manager.init_destination = startDestination;
    destination.manager.empty_output_buffer = growDestination;
    destination.manager.term_destination = endDestination;
    info.dest = &destination.manager;
    info.image_width = static_cast<JDIMENSION>(bitmap.width);
    info.image_height = static_cast<JDIMENSION>(bitmap.height);
    info.input_components = bitmap.channels;
    info.in_color_space = bitmap.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(options.quality, 1, 100), TRUE);
    if (options.grayscale && bitmap.channels != 1) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg reads the rows without writing to them.
        JSAMPROW row = const_cast<std::uint8_t*>(bitmap.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

DecodedImage decodeScaled(std::string_view bytes, int boxWidth, int boxHeight,
                          const ImageLimits& limits) {
    DecodedImage result;
    if (bytes.empty()) {
        result.error = "No JPEG data";
        return result;
    }
    jpeg_decompress_struct info;
    Trap trap;
    arm(trap, info.err);
    trap.maxScans = limits.maxScans;
    jpeg_create_decompress(&info);
    trap.progress.progress_monitor = onProgress;
    info.progress = &trap.progress;
    if (!readHeader(info, trap, bytes, boxWidth, boxHeight)) {
        result.error = failed(trap);
    } else if (info.image_width > limits.maxSide || info.image_height > limits.maxSide ||
               static_cast<std::uint64_t>(info.image_width) * info.image_height >
                   limits.maxPixels) {
        result.error = "The JPEG picture is too large: " + std::to_string(info.image_width) +
                       " x " + std::to_string(info.image_height);
    } else {
        const int channels = info.out_color_space == JCS_GRAYSCALE ? 1 : 3;
        std::vector<std::uint8_t> work;
        if (info.out_color_space == JCS_CMYK)
            work.resize(static_cast<std::size_t>(info.output_width) * 4 * 16);
        if (!result.bitmap.allocate(static_cast<int>(info.output_width),
                                    static_cast<int>(info.output_height), channels)) {
            result.error = "Not enough memory for the JPEG picture";
        } else if (!readRows(info, trap, result.bitmap, work.data())) {
            result.error = failed(trap);
            result.bitmap = {};
        } else {
            result.wholeWidth = static_cast<int>(info.image_width);
            result.wholeHeight = static_cast<int>(info.image_height);
        }
    }
    jpeg_destroy_decompress(&info);
    return result;
}

}  // namespace

DecodedImage decodeJpeg(std::string_view bytes, const ImageLimits& limits) {
    return decodeScaled(bytes, 0, 0, limits);
}

DecodedImage decodeJpegToFit(std::string_view bytes, int boxWidth, int boxHeight,
                             const ImageLimits& limits) {
    return decodeScaled(bytes, boxWidth, boxHeight, limits);
}

EncodedImage encodeJpeg(const Bitmap& source, const JpegOptions& options) {
    EncodedImage result;
    if (source.isNull()) {
        result.error = "No picture to write as JPEG";
        return result;
    }
    const Bitmap flat = source.channels == 4 ? flattenedOnWhite(source) : Bitmap{};
    const Bitmap& bitmap = source.channels == 4 ? flat : source;
    if (bitmap.isNull()) {
        result.error = "Not enough memory for the JPEG picture";
        return result;
    }
    jpeg_compress_struct info;
    Trap trap;
    arm(trap, info.err);
    jpeg_create_compress(&info);
    // A photograph at high quality takes about a third of a byte per sample.
    const std::size_t expected = bitmap.pixels.size() / 3 + 4096;
    try {
        result.bytes.reserve(expected);
    } catch (const std::exception&) {
        // Grown as it goes instead.
    }
    askForHugePages(result.bytes.data(), result.bytes.capacity());
    StringDestination destination{
        {}, &result.bytes, std::clamp<std::size_t>(expected / 8, 4096, 1u << 20)};
    if (!compress(info, trap, bitmap, options, destination)) {
        result.error = std::string("The JPEG picture could not be written: ") + trap.message;
        result.bytes.clear();
    }
    jpeg_destroy_compress(&info);
    if (result.error.empty() && result.bytes.empty()) result.error = "size = 0";
    return result;
}

}  // namespace zel
