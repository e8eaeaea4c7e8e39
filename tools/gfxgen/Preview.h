#pragma once

#include <string>

// Reads a generated graphics file back through the sprite store and saves PNG
// files into a folder: every sprite of the table as decoded, a page of sample
// text drawn with the measured font, the drag cursor as the cursor planes show
// it, and the login screen put together from its sprites. For looking at the
// pictures; nothing reads these files.
bool WritePreviews(const std::string& gfxPath, const std::string& folder);
