// Face names to font files through fontconfig. Windows games name Windows faces ("ＭＳ ゴシック",
// "MS Gothic") that a Linux machine does not have; fontconfig then answers its general default
// (often a Latin face without a single kana), so its answer is checked before it is taken.
#include <fontconfig/fontconfig.h>

#include "platform/fonts/freetype_font_engine.h"
#include "platform/text_encoding.h"

namespace kelvox::platform {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// The best match for [family] (UTF-8), or nullptr; with [japanese], asks for the language too.
Pattern bestMatch(const std::string& family, bool japanese) {
  Pattern query(FcPatternCreate());
  if (!query) return nullptr;
  FcPatternAddString(query.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (japanese) {
    FcPatternAddString(query.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddInteger(query.get(), FC_SPACING, FC_MONO);
  }
  FcConfigSubstitute(nullptr, query.get(), FcMatchPattern);
  FcDefaultSubstitute(query.get());
  FcResult result = FcResultNoMatch;
  return Pattern(FcFontMatch(nullptr, query.get(), &result));
}

bool namesFamily(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) return true;
  return false;
}

bool coversJapanese(FcPattern* match) {
  FcLangSet* langs = nullptr;
  if (FcPatternGetLangSet(match, FC_LANG, 0, &langs) != FcResultMatch) return false;
  return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

bool fileOf(FcPattern* match, FaceFile& out) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return false;
  int index = 0;
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  out.path = reinterpret_cast<const char*>(file);
  out.index = index;
  return true;
}

}  // namespace

void releaseFaceMatching() { FcFini(); }

bool matchFace(const std::string& faceName, FaceFile& out) {
  if (!FcInit()) return false;
  if (!faceName.empty()) {
    Pattern match = bestMatch(faceName, false);
    if (match && (namesFamily(match.get(), faceName) || coversJapanese(match.get()))) return fileOf(match.get(), out);
  }
  Pattern fallback = bestMatch("monospace", true);
  if (fallback && coversJapanese(fallback.get())) return fileOf(fallback.get(), out);
  return false;
}

}  // namespace kelvox::platform
