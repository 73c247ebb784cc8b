# Sourced by the checks: lists the project's files matching the given patterns ('*.cpp', '*.h'), one per line,
# relative to the project's root. In a git checkout these are git's tracked files; in a source archive without
# .git, the files found under the project's folders (build folders left out), so the checks run there too.
project_files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files "$@"
        return
    fi
    local names=()
    for pattern in "$@"; do
        [ ${#names[@]} -gt 0 ] && names+=(-o)
        names+=(-name "$pattern")
    done
    find . -path './build*' -prune -o -path './.git' -prune -o -type f \( "${names[@]}" \) -print |
        sed 's|^\./||' | LC_ALL=C sort
}
