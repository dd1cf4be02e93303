# bash completion for hangarctl: its commands and options, and the configuration names that
# "hangarctl list" prints.

_hangarctl_names()
{
    # The names as the list prints them, after the two characters of the mark.
    hangarctl "$@" list 2>/dev/null | cut -c3-
}

_hangarctl()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" settings=() i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --settings)
            settings=(--settings "${COMP_WORDS[i + 1]/#\~/$HOME}")
            ((i++))
            ;;
        -*) ;;
        *)
            [ -z "$command" ] && command=${COMP_WORDS[i]}
            ;;
        esac
    done

    COMPREPLY=()
    # After the "--" of run comes another program's command line: its name, then files.
    if [ "$command" = run ]; then
        for ((i = 2; i < COMP_CWORD; i++)); do
            [ "${COMP_WORDS[i]}" = -- ] || continue
            if ((i == COMP_CWORD - 1)); then
                mapfile -t COMPREPLY < <(compgen -c -- "$cur")
            else
                mapfile -t COMPREPLY < <(compgen -f -- "$cur")
                compopt -o filenames
            fi
            return
        done
    fi
    case $prev in
    --settings)
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        compopt -o filenames
        return
        ;;
    --fs9 | --scenery)
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        compopt -o filenames
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        local options="--help --settings --color="
        case $command in
        "") options="--help --version --settings --color=" ;;
        list | check | history | status) options+=" --json" ;;
        diff) options+=" --json --exit-code --quiet" ;;
        load | save | remove | restore | undo) options+=" --force" ;;
        run) options+=" --force --no-save-back" ;;
        folders) options+=" --fs9 --scenery --json" ;;
        detect) options+=" --apply --json" ;;
        esac
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi

    case $command in
    "")
        mapfile -t COMPREPLY < <(compgen -W "list load save run remove folders diff check status \
            detect history restore undo" -- "$cur")
        ;;
    restore)
        # The entries' numbers, first on each line that "hangarctl history" prints.
        mapfile -t COMPREPLY < <(compgen -W "$(hangarctl "${settings[@]}" history 2>/dev/null |
            awk '{ print $1 }')" -- "$cur")
        ;;
    load | save | run | remove | diff | check)
        # The names the command takes: one, or two for diff.
        local words=0 most=1
        [ "$command" = diff ] && most=2
        for ((i = 1; i < COMP_CWORD; i++)); do
            [[ ${COMP_WORDS[i]} == -* || ${COMP_WORDS[i - 1]} == --settings ]] || ((words++))
        done
        ((words >= 1 && words <= most)) || return
        # Names hold spaces ("FS Original"): each match is offered quoted for the shell, unless
        # the word being completed opened a quote itself.
        local typed=$cur quote=""
        if [[ $typed == [\"\']* ]]; then
            quote=${typed:0:1}
            typed=${typed:1}
        else
            typed=${typed//\\/}
        fi
        local name
        while IFS= read -r name; do
            [[ $name == "$typed"* ]] || continue
            if [ -n "$quote" ]; then
                COMPREPLY+=("$quote$name$quote")
            else
                COMPREPLY+=("$(printf '%q' "$name")")
            fi
        done < <(_hangarctl_names "${settings[@]}")
        ;;
    esac
}

complete -F _hangarctl hangarctl
