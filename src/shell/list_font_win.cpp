#include "shell/list_font_win.h"

#include "common/dpi_scale.h"
#include "win/wide_win.h"

namespace ls {

Font createListFont(const ListFont& f, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = scaleToDpi(f.height, dpi);
  lf.lfWidth = scaleToDpi(f.width, dpi);
  lf.lfEscapement = f.escapement;
  lf.lfOrientation = f.orientation;
  lf.lfWeight = f.weight;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeout;
  lf.lfCharSet = f.charset;
  lf.lfOutPrecision = f.outPrecision;
  lf.lfClipPrecision = f.clipPrecision;
  lf.lfQuality = f.quality;
  lf.lfPitchAndFamily = f.pitchAndFamily;
  std::wstring face = toWide(f.faceName);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

ListFont listFontOf(const LOGFONTW& lf, int dpi) {
  ListFont f;
  f.height = scaleFromDpi(lf.lfHeight, dpi);
  f.width = scaleFromDpi(lf.lfWidth, dpi);
  f.escapement = lf.lfEscapement;
  f.orientation = lf.lfOrientation;
  f.weight = lf.lfWeight;
  f.italic = lf.lfItalic;
  f.underline = lf.lfUnderline;
  f.strikeout = lf.lfStrikeOut;
  f.charset = lf.lfCharSet;
  f.outPrecision = lf.lfOutPrecision;
  f.clipPrecision = lf.lfClipPrecision;
  f.quality = lf.lfQuality;
  f.pitchAndFamily = lf.lfPitchAndFamily;
  f.faceName = fromWide(lf.lfFaceName);
  return f;
}

}  // namespace ls
