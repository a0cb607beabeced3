#include "exchange/modules/ModuleSession.h"

#include <algorithm>

namespace ExportImport {

using UtilityClasses::XML::AUserMultiStepNotifier;

void AModuleSession::ADisplayTarget::Notify(unsigned percent)
{
    const unsigned overall = base_ + (100 - base_) * std::min(percent, 100u) / 100;
    if (static_cast<int>(overall) <= shown_)
        return;
    shown_ = static_cast<int>(overall);
    if (display_)
        display_->ShowPercent(overall);
}

AModuleSession::AModuleSession(const UtilityClasses::Strings::AStrings& strings,
                               UserInterface::Settings::OptionStorage::AOptionStore& store, AProgressDisplay* display)
    : strings_(strings), store_(store), display_(display), target_(display)
{
}

AModuleSession::~AModuleSession() = default;

void AModuleSession::BeginRun()
{
    running_ = true;
    target_.Restart();
    // Until the document code loads its steps, the whole bar is one step.
    steps_ = std::make_unique<AUserMultiStepNotifier>(target_, std::vector<unsigned>{1});
}

void AModuleSession::EndRun()
{
    running_ = false;
}

void AModuleSession::SetCaption(std::u16string_view caption)
{
    if (display_)
        display_->ShowCaption(caption);
}

void AModuleSession::LoadSteps(std::vector<unsigned> weights)
{
    target_.Rebase();
    steps_ = std::make_unique<AUserMultiStepNotifier>(target_, std::move(weights));
}

void AModuleSession::NextStep()
{
    if (display_)
        display_->KeepAlive();
    if (steps_)
        steps_->NextStep();
}

void AModuleSession::Notify(unsigned percent)
{
    if (display_)
        display_->KeepAlive();
    if (steps_)
        steps_->Notify(percent);
}

void AModuleSession::AddMessage(bool error, std::u16string text)
{
    if (error)
        ++errors_;
    messages_.push_back({error, std::move(text)});
}

void AModuleSession::ClearMessages()
{
    messages_.clear();
    errors_ = 0;
}

}  // namespace ExportImport
