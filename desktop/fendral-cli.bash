# bash completion for fendral-cli. The commands and options come from the program's own
# --help, so the completion never disagrees with the program it completes.

_fendral_cli_commands()
{
    "$1" --help 2>/dev/null | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1, $2 }'
}

_fendral_cli()
{
    local cur prev program=${COMP_WORDS[0]}
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}

    # The words before the current one, without a leading --language NAME.
    local -a words=("${COMP_WORDS[@]:1:COMP_CWORD-1}")
    if [[ ${words[0]} == --language ]]; then
        words=("${words[@]:2}")
    fi

    if [[ $prev == --language ]]; then
        local folder
        folder=$(dirname "$(readlink -f "$(command -v "$program")")")
        COMPREPLY=($(compgen -W "$(cd "$folder" 2>/dev/null && ls *.lng 2>/dev/null | sed 's/\..*//';
                                   cd "$folder/../share/fendral" 2>/dev/null && ls *.lng 2>/dev/null | sed 's/\..*//')" -- "$cur"))
        return
    fi

    local listing
    listing=$(_fendral_cli_commands "$program")
    if [[ ${#words[@]} -eq 0 ]]; then
        COMPREPLY=($(compgen -W "$(awk '{ print $1 }' <<<"$listing" | sort -u) --help --version --language" -- "$cur"))
        return
    fi

    # Commands with subcommands ("report turnover", "rates download") take the second word next.
    local command=${words[0]}
    local subcommands
    subcommands=$(awk -v c="$command" '$1 == c && $2 ~ /^[a-z]+$/ { print $2 }' <<<"$listing")
    if [[ -n $subcommands && ${#words[@]} -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$subcommands" -- "$cur"))
        return
    fi
    if [[ -n $subcommands ]]; then
        command="$command ${words[1]}"
    fi

    if [[ $cur == -* ]]; then
        local options
        options=$($program $command --help 2>/dev/null | head -n1 | grep -o -- '--[a-z-]*' | sort -u)
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi
    case $prev in
        --format) COMPREPLY=($(compgen -W "xml xlsx" -- "$cur")); return ;;
        --only) COMPREPLY=($(compgen -W "currencies rates accounts classifiers transactions" -- "$cur")); return ;;
        --bucket|--from|--to|--currency|--group-by|--accounts|--kinds|--series|--rate|--in|--source|--sample|--currencies|--classifiers)
            return ;;
    esac
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
}

complete -F _fendral_cli fendral-cli
