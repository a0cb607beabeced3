// Fixed metrics for layout tests: every character 7 pixels wide, lines as high as the font.
#pragma once
#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "win32api/LayoutEngine.h"
#include "win32api/LayoutParser.h"

#include <memory>
#include <string_view>

namespace LayoutTests {

using namespace Win32API::VelvixForms;

class AFixedMetrics : public ATextLayoutMetrics {
public:
    explicit AFixedMetrics(const UtilityClasses::Strings::AStrings* strings, int fontHeight = 16)
        : ATextLayoutMetrics(strings), fontHeight_(fontHeight)
    {
    }
    int FontHeight() const override { return fontHeight_; }
    ASize TextExtent(std::u16string_view text) const override
    {
        return {static_cast<int>(text.size()) * 7, fontHeight_};
    }
    ARect TabDisplayArea(const ALayoutElement&, const ARect& area) const override
    {
        return {area.left + 2, area.top + tabHeight, area.right - 2, area.bottom - 2};
    }
    void SetFontHeight(int height) { fontHeight_ = height; }
    int tabHeight = 20;

private:
    int fontHeight_;
};

// A string table whose texts the tests choose.
inline std::unique_ptr<UtilityClasses::Strings::AStrings> MakeStrings()
{
    return std::make_unique<UtilityClasses::Strings::AStrings>(UtilityClasses::Strings::RussianLocale());
}

// Parses (the test fails on an error), measures and arranges into `client`.
inline std::unique_ptr<ALayoutElement> Layout(std::string_view text, const ALayoutMetrics& metrics, ARect client)
{
    auto root = ParseLayout(text);
    if (!root)
        return nullptr;
    NormaliseStacks(*root);
    MeasureLayout(*root, metrics);
    ArrangeLayout(*root, client, metrics);
    return root;
}

}  // namespace LayoutTests

#include "core/Assert.h"

#include <string>
#include <vector>

namespace LayoutTests {

// Records failed checks instead of ending the process, while it lives.
class AAssertionRecorder {
public:
    AAssertionRecorder()
        : previous_(Fendral::SetAssertionHandler([this](const std::string& report) {
              reports.push_back(report);
              return true;
          }))
    {
    }
    ~AAssertionRecorder() { Fendral::SetAssertionHandler(std::move(previous_)); }
    AAssertionRecorder(const AAssertionRecorder&) = delete;
    AAssertionRecorder& operator=(const AAssertionRecorder&) = delete;

    std::vector<std::string> reports;

private:
    Fendral::AssertionHandler previous_;
};

}  // namespace LayoutTests
