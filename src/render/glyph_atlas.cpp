// Placeholder until the glyph atlases land: fonts stay empty, text draws nothing.
#include "render/glyph_atlas.h"

Font antonioFont;
Font c64Font;
Font topazFont;

bool buildGlyphAtlas(Font&, const char*, unsigned int, unsigned int) { return true; }

void RenderText(Font&, const Shader&, std::string_view, float, float, float, glm::vec3) {}
