// Fatal errors: the displayed text a player reads, the parts a site fills in, the code taken
// from the low 8 bits, and the fault table's rows.
#include "common/fatal_error.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/text_encoding.h"
#include "support/test_game.h"

namespace kelvox::common {
namespace {

TEST(FatalError, DisplayedTextIsTheMessageAndTheCode) {
  struct Case {
    Fault fault;
    const char* displayed;  // UTF-8, as the box shows it
  };
  const Case cases[] = {
      {Fault::StackEmpty, "スクリプトの不正でスタックが空になりました(67)"},
      {Fault::StackFull, "スクリプトの不正でスタックが満杯になりました(66)"},
      {Fault::OutsideCode, "コードの範囲外を実行しようとしました(7)"},
      {Fault::OutsideData, "データメモリの範囲外を参照しました(9)"},
      {Fault::DivideByZero, "ゼロで除算しようとしました(22)"},
      {Fault::DivideOverflow, "除算の結果が範囲を超えました(23)"},
      {Fault::GameStart, "Gameの初期化に失敗しました(0)"},
      {Fault::CdStart, "CDDA機能の初期化に失敗しました(100)"},
      {Fault::EffectSurface2, "エフェクト用サーフェイス２の生成に失敗しました(54)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(test::errorOf([&] { raiseFatal(c.fault); }), c.displayed) << faultInfo(c.fault).name;
}

TEST(FatalError, ASitesPartFillsTheMessage) {
  EXPECT_EQ(test::errorOf([] { raiseFatal(Fault::UndefinedInstruction, "80030000"); }),
            "命令番号80030000は未定義です(10)");
  EXPECT_EQ(test::errorOf([] { raiseFatal(Fault::SpriteNumberRange, "SetSprite"); }),
            "SetSpriteに指定するスプライト番号の範囲オーバー(30)");
  EXPECT_EQ(test::errorOf([] { raiseFatal(Fault::InvalidPatternPointer, "03"); }),
            "無効なパターンへのポインタが指定されました03(62)");
  // A Shift-JIS file name goes in byte for byte: 表 is 0x95 0x5C, whose trail byte is '\'.
  const std::string name = "Grd\\\x95\x5C.png";
  try {
    raiseFatal(Fault::PictureMissing, name);
    FAIL();
  } catch (const FatalError& e) {
    EXPECT_EQ(e.code(), 17);
    EXPECT_EQ(e.fault(), Fault::PictureMissing);
    EXPECT_EQ(e.message(), name + platform::toSjis("が存在しませんでした"));
    EXPECT_EQ(e.displayText(), e.message() + "(17)");
  }
}

TEST(FatalError, ACodeGivenByTheSiteIsShownFromItsLow8BitsAsASignedNumber) {
  const std::string text = "TVisualEffector\r\nサポートされないビット深度のサーフェイスが渡されました";
  EXPECT_EQ(test::errorOf([] { raiseFatalCode(Fault::EffectDepth, 16); }), text + "(16)");
  EXPECT_EQ(test::errorOf([] { raiseFatalCode(Fault::EffectDepth, 0x1FF); }), text + "(-1)");
  EXPECT_EQ(test::errorOf([] { raiseFatalCode(Fault::EffectDepth, 128); }), text + "(-128)");
}

TEST(FatalError, AFileErrorShowsItsTextWithoutACode) {
  EXPECT_EQ(test::errorOf([] { raiseFileError("Script\\Code.ssb"); }), "Script\\Code.ssb");
}

TEST(FaultTable, NoRowIsWrittenTwice) {
  std::set<std::pair<int, std::string_view>> rows;
  std::set<std::string_view> names;
  for (const auto& f : kFaults) {
    EXPECT_TRUE(rows.insert({f.code, f.utf8Message}).second) << f.name;
    EXPECT_TRUE(names.insert(f.name).second) << f.name;
  }
  EXPECT_EQ(faultInfo(Fault::StackFull).name, "StackFull");
}

}  // namespace
}  // namespace kelvox::common
