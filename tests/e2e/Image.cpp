#include "Image.h"

#include <cstdlib>
#include <fstream>

bool Image::operator==(const Image& other) const {
    if (w != other.w || h != other.h) {
        return false;
    }
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Rgb a = pixels[i];
        const Rgb b = other.pixels[i];
        if (a.r != b.r || a.g != b.g || a.b != b.b) {
            return false;
        }
    }
    return true;
}

bool Image::writePpm(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << w << " " << h << "\n255\n";
    for (const Rgb& pixel : pixels) {
        out.put(static_cast<char>(pixel.r));
        out.put(static_cast<char>(pixel.g));
        out.put(static_cast<char>(pixel.b));
    }
    out.close();
    return static_cast<bool>(out);
}

bool nearColor(Rgb pixel, Rgb expected, int tolerance) {
    return std::abs(pixel.r - expected.r) <= tolerance &&
           std::abs(pixel.g - expected.g) <= tolerance &&
           std::abs(pixel.b - expected.b) <= tolerance;
}
