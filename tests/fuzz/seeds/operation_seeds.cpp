// Seeds of the drawing and transform targets: short operation lists that
// use every operation once with coordinates near the buffers, so that runs
// start from inputs that draw rather than from empty ones.
#include <string>

#include "seed_writer.h"

void WriteOperationSeeds(const std::string& root)
{
    // View and other buffer sizes, keep flag, then operations 0 to 7 with
    // small coordinates (bytes below 200 are coordinates near the view).
    Bytes draw = {40, 30, 1, 12, 9};
    for (int op = 0; op < 8; ++op) {
        draw.push_back(static_cast<unsigned char>(op));
        draw.push_back(static_cast<unsigned char>(op * 3));
        for (int i = 0; i < 8; ++i) draw.push_back(static_cast<unsigned char>(10 + 13 * i + op));
    }
    WriteSeed(root, "draw_fuzz", "every_operation", draw);

    // Destination and source sizes and origins, then XFormLin, Scale and
    // Render in plain and smoothing mode, with and without a key.
    Bytes xform = {50, 40, 0, 10, 10, 20, 16, 0, 10, 10};
    for (int op = 0; op < 48; op += 5) {
        xform.push_back(static_cast<unsigned char>(op));
        for (int i = 0; i < 12; ++i) xform.push_back(static_cast<unsigned char>(i % 3 ? 20 + 9 * i : 3 + op));
    }
    WriteSeed(root, "xform_fuzz", "every_operation", xform);
}
