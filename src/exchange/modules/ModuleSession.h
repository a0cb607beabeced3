// What the modules of one wizard (or one command) share: the program's texts, the
// settings store, the messages collected for the user and the progress of the running
// export or import.
#pragma once
#include "exchange/modules/ExchangeProgress.h"

#include "core/AStrings.h"
#include "core/OptionStore.h"

#include <memory>
#include <string>
#include <vector>

namespace ExportImport {

// Where the caption and the bar of a run are shown: the wizard's progress page, the
// terminal's progress line, or nothing.
class AProgressDisplay {
public:
    virtual ~AProgressDisplay() = default;
    virtual void ShowCaption(std::u16string_view caption) = 0;
    virtual void ShowPercent(unsigned percent) = 0;
    // The run reported progress that did not move the bar: a window may paint now.
    virtual void KeepAlive() {}
};

struct AModuleMessage {
    bool error = false;
    std::u16string text;
    bool operator==(const AModuleMessage&) const = default;
};

class AModuleSession final : public AExchangeProgress {
public:
    // The built-in modules keep their settings under the GUI program's file name, so that
    // the program and the command-line program remember the same files.
    static constexpr const char* kProgramModuleName = "fendral";

    AModuleSession(const UtilityClasses::Strings::AStrings& strings,
                   UserInterface::Settings::OptionStorage::AOptionStore& store, AProgressDisplay* display = nullptr);
    ~AModuleSession() override;

    const UtilityClasses::Strings::AStrings& Strings() const { return strings_; }
    UserInterface::Settings::OptionStorage::AOptionStore& Store() { return store_; }

    // ---- the running operation: modules may report progress only while one runs ----
    void BeginRun();
    void EndRun();
    bool Running() const { return running_; }

    void SetCaption(std::u16string_view caption) override;
    void LoadSteps(std::vector<unsigned> weights) override;
    void NextStep() override;
    void Notify(unsigned percent) override;

    // ---- messages: an operation is clean when it collected none ----
    void AddMessage(bool error, std::u16string text);
    const std::vector<AModuleMessage>& Messages() const { return messages_; }
    std::size_t ErrorCount() const { return errors_; }
    std::size_t WarningCount() const { return messages_.size() - errors_; }
    bool Clean() const { return messages_.empty(); }
    void ClearMessages();

private:
    // Passes the overall percentage of the stepped bar to the display. Steps loaded while a
    // run is under way share out what is left of the bar, so that the bar never goes back
    // (a workbook module has moved it before the document's steps are loaded).
    class ADisplayTarget final : public UtilityClasses::XML::AUserProgressNotifier {
    public:
        explicit ADisplayTarget(AProgressDisplay* display) : display_(display) {}
        void Notify(unsigned percent) override;
        void Restart() { base_ = 0, shown_ = -1; }
        void Rebase() { base_ = shown_ < 0 ? 0u : static_cast<unsigned>(shown_); }

    private:
        AProgressDisplay* display_;
        unsigned base_ = 0;
        int shown_ = -1;
    };

    const UtilityClasses::Strings::AStrings& strings_;
    UserInterface::Settings::OptionStorage::AOptionStore& store_;
    AProgressDisplay* display_;
    ADisplayTarget target_;
    std::unique_ptr<UtilityClasses::XML::AUserMultiStepNotifier> steps_;
    bool running_ = false;
    std::vector<AModuleMessage> messages_;
    std::size_t errors_ = 0;
};

// Marks the session as running for the scope's lifetime, so that a module's progress
// calls are accepted only while the document code works, and an early return ends it.
class ARunScope {
public:
    explicit ARunScope(AModuleSession& session) : session_(session) { session_.BeginRun(); }
    ~ARunScope() { session_.EndRun(); }
    ARunScope(const ARunScope&) = delete;
    ARunScope& operator=(const ARunScope&) = delete;

private:
    AModuleSession& session_;
};

}  // namespace ExportImport
