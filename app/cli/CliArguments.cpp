#include "CliArguments.h"

#include <algorithm>

namespace Cli {

namespace {

bool Contains(const std::vector<std::string_view>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

class AParser {
public:
    AParser(std::span<const std::string> arguments, std::span<const ACommandSyntax> commands)
        : arguments_(arguments), commands_(commands)
    {
    }

    AParseOutcome Run()
    {
        for (next_ = 0; next_ < arguments_.size() && outcome_.Ok();) {
            const std::string& word = arguments_[next_++];
            if (!optionsEnded_ && word == "--")
                optionsEnded_ = true;
            else if (!optionsEnded_ && word.size() > 2 && word.starts_with("--"))
                TakeOption(word);
            else
                TakePositional(word);
        }
        if (outcome_.Ok())
            CheckComplete();
        return std::move(outcome_);
    }

private:
    void Fail(std::string message)
    {
        if (outcome_.Ok())
            outcome_.error = std::move(message);
    }

    void TakePositional(const std::string& word)
    {
        AParsedArguments& parsed = outcome_.arguments;
        if (parsed.command.empty()) {
            std::string name = word;
            // Commands of two words ("rates download"): the group's word, then the command's.
            if (!FindCommand(commands_, name) && next_ < arguments_.size() &&
                FindCommand(commands_, word + " " + arguments_[next_]))
                name = word + " " + arguments_[next_++];
            syntax_ = FindCommand(commands_, name);
            if (!syntax_)
                return Fail("unknown command '" + word + "'");
            parsed.command = name;
            return;
        }
        parsed.positionals.push_back(word);
    }

    void TakeOption(const std::string& word)
    {
        AParsedArguments& parsed = outcome_.arguments;
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        std::optional<std::string> value;
        if (equals != std::string::npos)
            value = word.substr(equals + 1);

        if (name == "--help" || name == "--version") {
            if (value)
                return Fail(name + " takes no value");
            (name == "--help" ? parsed.help : parsed.version) = true;
            return;
        }
        const bool takesValue = name == kLanguageOption || (syntax_ && Contains(syntax_->valueOptions, name));
        const bool isFlag = syntax_ && Contains(syntax_->flags, name);
        if (!takesValue && !isFlag)
            return Fail("unknown option " + name + (syntax_ ? " for '" + std::string(syntax_->name) + "'" : ""));
        if (isFlag) {
            if (value)
                return Fail(name + " takes no value");
            if (parsed.Flag(name))
                return Fail(name + " is given twice");
            parsed.flags.push_back(name);
            return;
        }
        if (!value) {
            if (next_ >= arguments_.size())
                return Fail(name + " needs a value");
            value = arguments_[next_++];
        }
        if (!parsed.options.emplace(name, *value).second)
            Fail(name + " is given twice");
    }

    void CheckComplete()
    {
        const AParsedArguments& parsed = outcome_.arguments;
        if (parsed.help || parsed.version)
            return;
        if (!syntax_)
            return Fail("no command given");
        const std::size_t wanted = syntax_->positionals.size();
        if (parsed.positionals.size() < wanted)
            return Fail("'" + parsed.command + "' needs " + std::string(syntax_->positionals[parsed.positionals.size()]));
        if (parsed.positionals.size() > wanted)
            Fail("unexpected argument '" + parsed.positionals[wanted] + "'");
    }

    std::span<const std::string> arguments_;
    std::span<const ACommandSyntax> commands_;
    const ACommandSyntax* syntax_ = nullptr;
    std::size_t next_ = 0;
    bool optionsEnded_ = false;
    AParseOutcome outcome_;
};

}  // namespace

bool AParsedArguments::Flag(std::string_view name) const { return std::find(flags.begin(), flags.end(), name) != flags.end(); }

std::optional<std::string> AParsedArguments::Option(std::string_view name) const
{
    auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

AParseOutcome ParseArguments(std::span<const std::string> arguments, std::span<const ACommandSyntax> commands)
{
    return AParser(arguments, commands).Run();
}

const ACommandSyntax* FindCommand(std::span<const ACommandSyntax> commands, std::string_view name)
{
    for (const ACommandSyntax& syntax : commands)
        if (syntax.name == name)
            return &syntax;
    return nullptr;
}

}  // namespace Cli
