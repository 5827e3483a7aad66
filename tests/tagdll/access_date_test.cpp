#include "tagdll/sql/access_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quellor::tagdll::sql {
namespace {

TEST(AccessDate, SerialsBecomeIsoTextOnTheGregorianCalendar) {
  struct Case {
    double serial;
    const char* iso;
  };
  const Case cases[] = {
      {0, "1899-12-30 00:00:00"},
      {1, "1899-12-31 00:00:00"},
      {-1.25, "1899-12-29 06:00:00"},  // the time is an absolute fraction before the epoch
      {-0.5, "1899-12-30 12:00:00"},
      {60, "1900-02-28 00:00:00"},  // no leap day in 1900
      {61, "1900-03-01 00:00:00"},
      {35065.5, "1996-01-01 12:00:00"},
      {51000.75, "2039-08-18 18:00:00"},  // past 2037
      {2958465, "9999-12-31 00:00:00"},
      {-657434, "0100-01-01 00:00:00"},
      {0.999999999, "1899-12-31 00:00:00"},  // rounds up to the next midnight
      {1.0 / 86400 * 0.4, "1899-12-30 00:00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsoDateFromSerial(c.serial).value_or("none"), c.iso) << c.serial;
    const std::optional<double> back = SerialFromIsoDate(c.iso);
    ASSERT_TRUE(back.has_value()) << c.iso;
    EXPECT_EQ(IsoDateFromSerial(*back).value_or("none"), c.iso) << c.iso;
  }
}

TEST(AccessDate, OutsideAccessRangeThereIsNoDate) {
  for (const double serial :
       {2958466.0, -657435.0, 1e300, std::nan(""), std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(IsoDateFromSerial(serial).has_value()) << serial;
  }
}

TEST(AccessDate, OnlyTheOneIsoFormParses) {
  EXPECT_EQ(SerialFromIsoDate("1996-01-01 12:00:00"), 35065.5);
  for (const char* text :
       {"1996-01-01", "1996-1-01 12:00:00", "1996-02-30 00:00:00", "1996-01-01 24:00:00",
        "1996-01-01T12:00:00", "0099-12-31 00:00:00", "1996-01-01 12:00:00 ", "x"}) {
    EXPECT_FALSE(SerialFromIsoDate(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace quellor::tagdll::sql
