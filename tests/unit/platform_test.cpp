// The platform layer as the rest of the system relies on it.
#include <gtest/gtest.h>

#include "platform/platform.h"

TEST(OemCodePage, RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(platform::utf16_to_oem(platform::oem_to_utf16(all)), all);
}
