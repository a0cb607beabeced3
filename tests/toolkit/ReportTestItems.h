// Items and modes for report list tests: a number per item, its text in column 0 and the
// number in column 1, an optional check box.
#pragma once
#include "win32api/ReportListModel.h"

#include <string>
#include <vector>

namespace ReportTests {

using namespace Win32API::VelvixControls::Reports;

class ATestItem : public AReportItem<int> {
public:
    ATestItem(std::u16string name, int number, ACheckState check = ACheckState::None)
        : AReportItem<int>(number), name_(std::move(name)), check_(check)
    {
    }
    std::u16string Text(int column) const override
    {
        if (column == 0)
            return name_;
        std::string digits = std::to_string(Data());
        return std::u16string(digits.begin(), digits.end());
    }
    unsigned CellProperty(int column) const override { return column == 2 ? kCellLink : kCellPlain; }
    ACheckState CheckState() const override { return check_; }
    void SetChecked(bool checked) override { check_ = checked ? ACheckState::Checked : ACheckState::Unchecked; }
    bool CanToggleCheck() const override { return togglable; }
    bool togglable = true;

protected:
    int CompareData(const AReportItem<int>& other, int column) const override
    {
        if (column == 1)
            return Data() < other.Data() ? -1 : Data() > other.Data();
        return AReportItem<int>::CompareData(other, column);
    }

private:
    std::u16string name_;
    ACheckState check_;
};

class ATestMode : public AReportMode {
public:
    ATestMode(bool tree, bool multi) : tree_(tree), multi_(multi)
    {
        AddColumn(u"&Название:", 120);
        AddColumn(u"Число", 60);
        AddColumn(u"Ссылка", 80);
    }
    bool IsTree() const override { return tree_; }
    bool MultiSelect() const override { return multi_; }

private:
    bool tree_, multi_;
};

inline ATestItem* Add(AReportItemImpl& parent, std::u16string name, int number,
                      ACheckState check = ACheckState::None)
{
    return static_cast<ATestItem*>(parent.AddChild(std::make_unique<ATestItem>(std::move(name), number, check)));
}

// Records every notification; answers kNotifyCheckChanging with `allowCheck`.
struct ANotificationLog {
    std::vector<int> codes;
    bool allowCheck = true;
    AReportListModel::ANotifier Notifier()
    {
        return [this](int code) {
            codes.push_back(code);
            return code == kNotifyCheckChanging ? allowCheck : true;
        };
    }
    int Count(int code) const
    {
        int n = 0;
        for (int c : codes)
            n += c == code;
        return n;
    }
};

}  // namespace ReportTests
