# bash completion for pelorin-tool: its commands, each command's options, and the
# files and folders those options take. Needs nothing but bash itself.

_pelorin_tool_options()
{
    case $1 in
    clues) echo "--root --seeds --wordnet --list --quotes" ;;
    export) echo "--pdf --solution" ;;
    fill) echo "--root --style --pattern --seed --tries --count --jobs --out --daily --code" ;;
    lookup) echo "--root" ;;
    make-dictionary) echo "--wordnet --out" ;;
    make-style) echo "--root --description --out" ;;
    prepare) echo "--root --timeout" ;;
    show) echo "--full" ;;
    style) echo "--root --match --quotes" ;;
    summary) echo "--root" ;;
    esac
}

# Files whose names end in one of the extensions given ("zag zac"), and folders to
# look in; with no extension, every file.
_pelorin_tool_files()
{
    local cur=$1 extension
    shift
    compopt -o filenames 2>/dev/null
    if (($# == 0)); then
        COMPREPLY+=($(compgen -f -- "$cur"))
        return
    fi
    COMPREPLY+=($(compgen -d -- "$cur"))
    for extension; do
        COMPREPLY+=($(compgen -f -X "!*.$extension" -- "$cur"))
    done
}

# The styles of the root given on the line, by name without extension, as
# --style and style's FILE take them.
_pelorin_tool_style_names()
{
    local cur=$1 root= i name
    for ((i = 2; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == --root ]]; then
            root=${COMP_WORDS[i + 1]}
            [[ $root == = ]] && root=${COMP_WORDS[i + 2]}
        fi
    done
    [[ -n $root && -d $root/Styles ]] || return
    for name in "$root"/Styles/*.zas; do
        [[ -e $name ]] || continue
        name=${name##*/}
        name=${name%.zas}
        [[ $name == "$cur"* ]] && COMPREPLY+=("$name")
    done
}

_pelorin_tool()
{
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="clues export fill help lookup make-dictionary make-style prepare show style summary"
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}
    if [[ $command == help ]]; then
        ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W "${commands/help /}" -- "$cur"))
        return
    fi

    # bash splits --name=VALUE into "--name", "=" and "VALUE".
    local option=$prev
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]]; then
        option=${COMP_WORDS[COMP_CWORD - 2]}
    fi
    case $option in
    --root | --wordnet)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        return
        ;;
    --style)
        _pelorin_tool_files "$cur" zas
        _pelorin_tool_style_names "$cur"
        return
        ;;
    --pdf)
        _pelorin_tool_files "$cur" pdf
        return
        ;;
    --out)
        _pelorin_tool_files "$cur"
        return
        ;;
    --pattern)
        COMPREPLY=($(compgen -W "0 1 2 3" -- "$cur"))
        return
        ;;
    --seed | --seeds | --tries | --count | --jobs | --timeout | --description | --match | --quotes)
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_pelorin_tool_options "$command") --help" -- "$cur"))
        return
    fi
    case $command in
    show | export) _pelorin_tool_files "$cur" zag zac ;;
    style)
        _pelorin_tool_files "$cur" zas
        _pelorin_tool_style_names "$cur"
        ;;
    make-style) _pelorin_tool_files "$cur" ;;
    esac
}
complete -F _pelorin_tool pelorin-tool
