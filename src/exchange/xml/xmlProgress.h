// Progress sinks for reading and writing documents.
#pragma once
#include <cstddef>
#include <vector>

namespace UtilityClasses::XML {

class AUserProgressNotifier {
public:
    virtual ~AUserProgressNotifier() = default;
    // percent is 0 to 100.
    virtual void Notify(unsigned percent) = 0;
};

// Splits one progress bar into weighted steps: each step reports 0 to 100 through
// Notify, and the bar moves over that step's share of the whole. The bar never moves
// back, so successive steps carry it forward from where the last one stopped.
class AUserMultiStepNotifier : public AUserProgressNotifier {
public:
    // An empty weight list is one step; all-zero weights count as equal.
    AUserMultiStepNotifier(AUserProgressNotifier& target, std::vector<unsigned> weights);

    void Notify(unsigned percent) override;
    // Finishes the current step and moves to the next (stays on the last one).
    void NextStep();

    std::size_t CurrentStep() const { return m_current; }
    std::size_t StepCount() const { return m_weights.size(); }

private:
    void Forward(unsigned overall);

    AUserProgressNotifier& m_target;
    std::vector<unsigned long long> m_weights;
    unsigned long long m_totalWeight = 0;
    unsigned long long m_weightBefore = 0;  // of the steps already finished
    std::size_t m_current = 0;
    int m_lastReported = -1;
};

}  // namespace UtilityClasses::XML
