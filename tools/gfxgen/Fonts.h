#pragma once

// The typefaces the pictures are drawn with: DejaVu, from Debian's
// fonts-dejavu-core package (freely licensed).
constexpr const char* kSansBoldPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kSerifBoldPath = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
