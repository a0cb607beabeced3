// The ring chart: a tree of sums as a central disc with a ring of slices per level.
// Hovering an item shows a hand cursor, highlights it and tells its sums in a tooltip.
#pragma once
#include "core/APieLayout.h"
#include "win32api/GraphicsControl.h"

#include <QColor>

#include <memory>
#include <string>
#include <vector>

namespace UtilityClasses::Strings {
class AStrings;
}

namespace Win32API::VelvixControls {

class APieChart : public AGraphicsControl {
    Q_OBJECT
public:
    using AMoney = std::int64_t;

    class AItem {
    public:
        AItem(std::u16string name, AMoney first, AMoney second) : name_(std::move(name)), first_(first), second_(second)
        {
        }
        virtual ~AItem() = default;
        AItem(const AItem&) = delete;
        AItem& operator=(const AItem&) = delete;

        const std::u16string& Name() const { return name_; }
        AMoney First() const { return first_; }
        AMoney Second() const { return second_; }
        AItem* AddChild(std::unique_ptr<AItem> child);
        const std::vector<std::unique_ptr<AItem>>& Children() const { return children_; }

        // Computed by the chart's layout.
        double StartAngle() const { return start_; }
        double SweepAngle() const { return sweep_; }
        bool IsVisible() const { return visible_; }
        QColor Colour() const { return colour_; }
        int Depth() const { return depth_; }
        bool IsSelected() const { return selected_; }

    private:
        friend class APieChart;
        std::u16string name_;
        AMoney first_ = 0, second_ = 0;
        std::vector<std::unique_ptr<AItem>> children_;
        double start_ = 0, sweep_ = 0;
        bool visible_ = false;
        QColor colour_;
        int depth_ = 0;
        bool selected_ = false;
    };

    explicit APieChart(QWidget* parent = nullptr);
    ~APieChart() override;

    // Texts for the tooltips ("Приход:", "Расход:", "Итого:") and the amounts' locale.
    void SetStrings(const UtilityClasses::Strings::AStrings* strings);
    void SetCurrency(std::u16string code, int decimals);

    // The owner's tree; null shows nothing.
    void SetRoot(std::unique_ptr<AItem> root);
    AItem* Root() const { return root_.get(); }
    // Lays the tree out again after the owner changed it.
    void Relayout();

    // The drawn item under a point (client coordinates), or null.
    AItem* HitTest(QPoint point) const;
    AItem* HoveredItem() const { return hovered_; }
    // At most one item is selected; null clears the selection.
    void SetSelected(AItem* item);
    QString TooltipText(const AItem& item) const;
    // The layout behind the drawing, for the current size.
    const UserInterface::Charts::ARingLayout& Layout() const { return layout_; }

signals:
    void ItemClicked(Win32API::VelvixControls::APieChart::AItem* item);

protected:
    void DrawChart(QPainter& painter) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetHovered(AItem* item);
    void DrawItem(QPainter& painter, const AItem& item) const;

    const UtilityClasses::Strings::AStrings* strings_ = nullptr;
    std::u16string currency_;
    int decimals_ = 2;
    std::unique_ptr<AItem> root_;
    std::vector<AItem*> flat_;  // the tree in the layout's item order
    UserInterface::Charts::ARingLayout layout_;
    AItem* hovered_ = nullptr;
};

// An item of the turnover tree: it remembers its node, so a click can select the node in
// the report list.
class APieChartItem : public APieChart::AItem {
public:
    APieChartItem(std::u16string name, APieChart::AMoney first, APieChart::AMoney second, int node)
        : AItem(std::move(name), first, second), node_(node)
    {
    }
    int Node() const { return node_; }

private:
    int node_;
};

}  // namespace Win32API::VelvixControls
