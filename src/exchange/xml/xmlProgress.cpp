#include "exchange/xml/xmlProgress.h"

#include <algorithm>

namespace UtilityClasses::XML {

AUserMultiStepNotifier::AUserMultiStepNotifier(AUserProgressNotifier& target, std::vector<unsigned> weights)
    : m_target(target), m_weights(weights.begin(), weights.end())
{
    if (m_weights.empty())
        m_weights.push_back(1);
    for (unsigned long long weight : m_weights)
        m_totalWeight += weight;
    if (m_totalWeight == 0) {
        std::fill(m_weights.begin(), m_weights.end(), 1);
        m_totalWeight = m_weights.size();
    }
}

void AUserMultiStepNotifier::Forward(unsigned overall)
{
    if (static_cast<int>(overall) <= m_lastReported)
        return;
    m_lastReported = static_cast<int>(overall);
    m_target.Notify(overall);
}

void AUserMultiStepNotifier::Notify(unsigned percent)
{
    percent = std::min(percent, 100u);
    const unsigned long long done = m_weightBefore * 100 + m_weights[m_current] * percent;
    Forward(static_cast<unsigned>(done / m_totalWeight));
}

void AUserMultiStepNotifier::NextStep()
{
    if (m_current + 1 >= m_weights.size()) {
        Notify(100);
        return;
    }
    m_weightBefore += m_weights[m_current];
    ++m_current;
    Notify(0);
}

}  // namespace UtilityClasses::XML
