// Values, errors, units and keyed collections.
#include <gtest/gtest.h>

#include "test_support.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "forms/collection.h"
#include "forms/error.h"
#include "forms/font.h"
#include "forms/units.h"
#include "forms/variant.h"

namespace {

using testsupport::errorOf;

using forms::Variant;

TEST(VariantTest, ToIntegerRoundsHalfToEvenAndChecksRange) {
  struct Case {
    Variant in;
    int32_t integer;  // toInt16, when integerError is 0
    int integerError;
    int32_t longValue;
    int longError;
  };
  const std::vector<Case> cases = {
      {Variant(0.5), 0, 0, 0, 0},
      {Variant(1.5), 2, 0, 2, 0},
      {Variant(2.5), 2, 0, 2, 0},
      {Variant(-0.5), 0, 0, 0, 0},
      {Variant(-1.5), -2, 0, -2, 0},
      {Variant(-2.5), -2, 0, -2, 0},
      {Variant(2.5000001), 3, 0, 3, 0},
      {Variant(32766.5), 32766, 0, 32766, 0},
      {Variant(32767.5), 0, 6, 32768, 0},  // rounds to 32768, which an Integer cannot hold
      {Variant(-32768.5), -32768, 0, -32768, 0},
      {Variant(-32769.0), 0, 6, -32769, 0},
      {Variant(2147483646.5), 0, 6, 2147483646, 0},
      {Variant(2147483647.5), 0, 6, 0, 6},
      {Variant(-2147483648.5), 0, 6, std::numeric_limits<int32_t>::min(), 0},
      {Variant(1e10f), 0, 6, 0, 6},
      {Variant(true), -1, 0, -1, 0},
      {Variant(false), 0, 0, 0, 0},
      {Variant(), 0, 0, 0, 0},
      {Variant(int32_t{40000}), 0, 6, 40000, 0},
      {Variant(" 12.5 "), 12, 0, 12, 0},
      {Variant("13.5"), 14, 0, 14, 0},
      {Variant("-7"), -7, 0, -7, 0},
      {Variant("1e3"), 1000, 0, 1000, 0},
      {Variant("&HFF"), 255, 0, 255, 0},
      {Variant("True"), -1, 0, -1, 0},
      {Variant("99999"), 0, 6, 99999, 0},
      {Variant("abc"), 0, 13, 0, 13},
      {Variant(""), 0, 13, 0, 13},
      {Variant("12abc"), 0, 13, 0, 13},
      {Variant("1 2"), 0, 13, 0, 13},
      {Variant("+-5"), 0, 13, 0, 13},
      {Variant("nan"), 0, 13, 0, 13},
      {Variant("inf"), 0, 13, 0, 13},
      {Variant("1e400"), 0, 6, 0, 6},
      {Variant("&H"), 0, 13, 0, 13},
      {Variant("&HXYZ"), 0, 13, 0, 13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in.typeName() + " " + (c.in.type() == forms::VarType::String ? c.in.toString() : std::to_string(c.in.toDouble())));
    int16_t i = 0;
    EXPECT_EQ(errorOf([&] { i = c.in.toInt16(); }), c.integerError);
    if (c.integerError == 0) {
      EXPECT_EQ(i, c.integer);
    }
    int32_t l = 0;
    EXPECT_EQ(errorOf([&] { l = c.in.toInt32(); }), c.longError);
    if (c.longError == 0) {
      EXPECT_EQ(l, c.longValue);
    }
  }
}

TEST(VariantTest, ToString) {
  const std::vector<std::pair<Variant, std::string>> cases = {
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(), ""},
      {Variant(int16_t{-3}), "-3"},
      {Variant(int32_t{-2147483647 - 1}), "-2147483648"},
      {Variant(2.5), "2.5"},
      {Variant(3.0), "3"},
      {Variant(-0.0), "0"},
      {Variant(0.1 + 0.2), "0.3"},  // 15 significant digits, not the shortest round trip
      {Variant(123456789012345.0), "123456789012345"},
      {Variant(1e15), "1E+15"},
      {Variant(-2.5e-7), "-2.5E-07"},
      {Variant(0.0001), "0.0001"},
      {Variant(1234.5f), "1234.5"},
      {Variant(1.0f / 3), "0.3333333"},  // 7 for a Single
      {Variant(0.1f), "0.1"},
      {Variant(1e7f), "1E+07"},
      {Variant(-0.0f), "0"},
  };
  for (const auto& [in, text] : cases) EXPECT_EQ(in.toString(), text) << in.typeName() << " " << text;
}

TEST(VariantTest, OtherConversions) {
  EXPECT_TRUE(Variant("-1").toBool());
  EXPECT_FALSE(Variant("0").toBool());
  EXPECT_EQ(errorOf([] { (void)Variant("yes").toBool(); }), forms::err::TypeMismatch);
  EXPECT_EQ(errorOf([] { (void)Variant("1e39").toSingle(); }), forms::err::Overflow);
  EXPECT_EQ(errorOf([] { (void)Variant(42.0).toObject(); }), forms::err::TypeMismatch);
  EXPECT_EQ(Variant().toObject(), nullptr);
  EXPECT_EQ(errorOf([] { (void)Variant::fromLong(int64_t{1} << 31); }), forms::err::Overflow);
  EXPECT_EQ(Variant::fromLong(-(int64_t{1} << 31)).type(), forms::VarType::Long);
  const auto font = std::make_shared<forms::Font>();
  EXPECT_EQ(errorOf([&] { (void)Variant(forms::ObjectPtr(font)).toDouble(); }), forms::err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { (void)Variant(forms::ObjectPtr(font)).toString(); }), forms::err::TypeMismatch);
}

TEST(VariantTest, Equality) {
  const forms::ObjectPtr a = std::make_shared<forms::Font>();
  const forms::ObjectPtr b = std::make_shared<forms::Font>();
  struct Case {
    Variant x, y;
    bool equal;
  };
  const std::vector<Case> cases = {
      {Variant(int16_t{5}), Variant(5.0), true},
      {Variant(int32_t{5}), Variant(5.0f), true},
      {Variant(true), Variant(int16_t{-1}), true},
      {Variant(false), Variant(int32_t{0}), true},
      {Variant(true), Variant(int16_t{1}), false},
      {Variant(0.1f), Variant(0.1), true},  // the Double is rounded to single precision first
      {Variant(0.1f), Variant(0.1000001), false},
      {Variant(16777217.0), Variant(int32_t{16777216}), false},  // a Long and a Double compare exactly
      {Variant("abc"), Variant("abc"), true},
      {Variant("abc"), Variant("ABC"), false},
      {Variant("abc"), Variant("abc "), false},
      {Variant(), Variant(""), true},
      {Variant(), Variant(int16_t{0}), true},
      {Variant(), Variant(false), true},
      {Variant(), Variant(), true},
      {Variant(), Variant("0"), false},
      // Text against a number never matches, even when the text reads as that number.
      {Variant("5"), Variant(int32_t{5}), false},
      {Variant(int16_t{0}), Variant(""), false},
      {Variant("abc"), Variant(int16_t{0}), false},
      {Variant(a), Variant(a), true},
      {Variant(a), Variant(b), false},
      {Variant(a), Variant(), false},
      {Variant(forms::ObjectPtr()), Variant(), true},
      {Variant(a), Variant(int16_t{0}), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x.typeName() + " vs " + c.y.typeName());
    EXPECT_EQ(c.x.equals(c.y), c.equal);
    EXPECT_EQ(c.y.equals(c.x), c.equal);
  }
}

TEST(UnitsTest, RoundHalfEven) {
  const std::vector<std::pair<double, double>> cases = {
      {0.5, 0},       {1.5, 2},       {2.5, 2},       {3.5, 4},    {-0.5, 0},   {-1.5, -2},
      {-2.5, -2},     {1234.5, 1234}, {1235.5, 1236}, {0.49, 0},   {0.51, 1},   {-0.51, -1},
      {1e15 + 0.5, 1e15}, {7.0, 7}};
  for (auto [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(forms::roundHalfEven(in), out);
  }
  EXPECT_FALSE(std::signbit(forms::roundHalfEven(0.4)));
}

TEST(UnitsTest, CheckedArithmetic) {
  EXPECT_EQ(forms::checkedAdd(2147483646, 1), 2147483647);
  EXPECT_EQ(errorOf([] { forms::checkedAdd(2147483647, 1); }), forms::err::Overflow);
  EXPECT_EQ(errorOf([] { forms::checkedSub(std::numeric_limits<int32_t>::min(), 1); }), forms::err::Overflow);
  EXPECT_EQ(errorOf([] { forms::toInt16(std::nan("")); }), forms::err::Overflow);
}

class ScaleTest : public testing::Test {
 protected:
  void TearDown() override { forms::setTwipsPerPixel(15, 15); }
};

TEST_F(ScaleTest, EveryModeToAndFromTwips) {
  for (float tpp : {15.0f, 12.0f}) {
    forms::setTwipsPerPixel(tpp, tpp);
    // Twips in one unit of each mode, X and Y.
    const std::vector<std::tuple<int, double, double>> units = {
        {forms::ScaleTwips, 1, 1},
        {forms::ScalePoints, 20, 20},
        {forms::ScalePixels, tpp, tpp},
        {forms::ScaleCharacters, 120, 240},
        {forms::ScaleInches, 1440, 1440},
        {forms::ScaleMillimeters, 1440 / 25.4, 1440 / 25.4},
        {forms::ScaleCentimeters, 1440 / 2.54, 1440 / 2.54},
        {forms::ScaleHimetric, 1440 / 2540.0, 1440 / 2540.0},
    };
    for (auto [mode, x, y] : units) {
      SCOPED_TRACE("tpp " + std::to_string(tpp) + " mode " + std::to_string(mode));
      EXPECT_FLOAT_EQ(forms::scaleX(3, mode, forms::ScaleTwips), static_cast<float>(3 * x));
      EXPECT_FLOAT_EQ(forms::scaleY(3, mode, forms::ScaleTwips), static_cast<float>(3 * y));
      EXPECT_FLOAT_EQ(forms::scaleX(2880, forms::ScaleTwips, mode), static_cast<float>(2880 / x));
      EXPECT_FLOAT_EQ(forms::scaleY(2880, forms::ScaleTwips, mode), static_cast<float>(2880 / y));
    }
  }
}

TEST_F(ScaleTest, BetweenModesAndBadModes) {
  forms::setTwipsPerPixel(12, 12);
  EXPECT_FLOAT_EQ(forms::scaleX(96, forms::ScalePixels, forms::ScaleInches), 0.8f);
  EXPECT_FLOAT_EQ(forms::scaleX(1, forms::ScaleInches, forms::ScalePixels), 120.0f);
  forms::setTwipsPerPixel(15, 15);
  EXPECT_FLOAT_EQ(forms::scaleX(1, forms::ScaleInches, forms::ScalePixels), 96.0f);
  EXPECT_FLOAT_EQ(forms::scaleY(2540, forms::ScaleHimetric, forms::ScalePoints), 72.0f);
  EXPECT_FLOAT_EQ(forms::scaleY(10, forms::ScaleCentimeters, forms::ScaleMillimeters), 100.0f);
  EXPECT_FLOAT_EQ(forms::scaleX(1, forms::ScaleCharacters, forms::ScalePixels), 8.0f);
  EXPECT_FLOAT_EQ(forms::scaleY(1, forms::ScaleCharacters, forms::ScalePixels), 16.0f);
  // The result is single precision, not a double squeezed in later.
  EXPECT_EQ(forms::scaleX(1, forms::ScaleMillimeters, forms::ScaleTwips), static_cast<float>(1440 / 25.4));
  for (int bad : {0, 9, -1})
    EXPECT_EQ(errorOf([&] { forms::scaleX(1, bad, forms::ScaleTwips); }), forms::err::InvalidCall) << bad;
  EXPECT_EQ(errorOf([] { forms::setTwipsPerPixel(0, 15); }), forms::err::InvalidCall);
  EXPECT_EQ(forms::twipsPerPixel(forms::Axis::X), 15.0);
}

TEST(CollectionTest, PositionsKeysAndErrors) {
  forms::Collection<std::string> c;
  c.add("one", "First");
  c.add("two");
  c.add("three", "THIRD");
  EXPECT_EQ(c.count(), 3u);
  EXPECT_EQ(c.item(1), "one");
  EXPECT_EQ(c.item(3), "three");
  EXPECT_EQ(c.item("first"), "one");
  EXPECT_EQ(c.item("Third"), "three");
  EXPECT_TRUE(c.contains("FIRST"));

  EXPECT_EQ(errorOf([&] { c.add("again", "fIrSt"); }), forms::err::DuplicateKey);
  EXPECT_EQ(c.count(), 3u);
  EXPECT_EQ(c.item("first"), "one");

  for (std::size_t bad : {std::size_t{0}, std::size_t{4}})
    EXPECT_EQ(errorOf([&] { c.item(bad); }), forms::err::SubscriptOutOfRange) << bad;
  EXPECT_EQ(errorOf([&] { c.item("nope"); }), forms::err::InvalidCall);
  EXPECT_EQ(errorOf([&] { c.item(""); }), forms::err::InvalidCall);
  EXPECT_EQ(errorOf([&] { c.remove(std::size_t{0}); }), forms::err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { c.remove("nope"); }), forms::err::InvalidCall);

  c.remove("FIRST");
  EXPECT_EQ(c.item(1), "two");
  c.add("four", "first");  // the key is free again
  c.remove(std::size_t{1});
  std::vector<std::string> left;
  c.forEach([&](const std::string& s) { left.push_back(s); });
  EXPECT_EQ(left, (std::vector<std::string>{"three", "four"}));
}

TEST(ErrorTest, NumbersCarryTheirDescriptions) {
  const forms::Error e(forms::err::DuplicateKey);
  EXPECT_EQ(e.number(), 457);
  EXPECT_EQ(e.description(), "This key is already associated with an element of this collection");
  EXPECT_STREQ(e.what(), e.description().c_str());
  EXPECT_EQ(forms::Error(forms::err::NoSuchMember).description(), "Object doesn't support this property or method");
  EXPECT_FALSE(forms::resumeNext([] { throw forms::Error(5); }));
  EXPECT_TRUE(forms::resumeNext([] {}));
}

}  // namespace
