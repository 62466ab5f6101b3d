// Decode time of the carried background picture: decodes it N times and
// prints the median, the fastest and the slowest decode.
//
//   picture_bench [count] [picture]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "picture/picture_jpeg.h"

namespace {

bool ReadFile(const char* path, std::string& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  std::fclose(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const char* path = argc > 2 ? argv[2] : VELMORA_BACKGROUND_PICTURE;
  std::string bytes;
  if (!ReadFile(path, bytes)) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  std::vector<double> milliseconds;
  int width = 0, height = 0;
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<PixelPicture> picture = DecodeJpeg(data, bytes.size());
    const auto end = std::chrono::steady_clock::now();
    if (!picture) {
      std::fprintf(stderr, "%s does not decode\n", path);
      return 1;
    }
    width = picture->width;
    height = picture->height;
    milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  const double median = milliseconds[milliseconds.size() / 2];
  std::printf("%s: %zu bytes, %d x %d pixels, %d decodes\n", path, bytes.size(), width, height, count);
  std::printf("median %.2f ms, fastest %.2f ms, slowest %.2f ms, %.1f megapixels per second\n", median,
              milliseconds.front(), milliseconds.back(), width * static_cast<double>(height) / median / 1000.0);
  return 0;
}
