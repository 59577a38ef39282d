#!/usr/bin/env python3
"""Links the browser build with Asyncify on the functions that can wait only.

Used as the game's linker launcher (cmake/WebPage.cmake):
    WebAsyncify.py em++ ARGS... -o DIR/vorblox.js ...

Asyncify's own analysis takes every indirect call for one that may reach a
wait, which instruments most of the program. An indirect call in WebAssembly
can only reach a function of its own signature (anything else traps), so this
first links the program once with indirect calls left out of the analysis, to
learn the functions' names and the imports that wait (as the linker names them,
after its optimisations, which is what Asyncify sees), then follows the calls
itself: direct calls, and indirect calls to every function in the table with
the call's signature. Every function that can reach a wait, that way, is named
to the real link as ASYNCIFY_ONLY. The finished module is optimised once
more with wasm-opt -Oz.
"""
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import tempfile

FUNC = re.compile(r"^ \(func \$(\S+)(.*)$")
IMPORT = re.compile(r"^ \(import \"[^\"]*\" \"[^\"]*\" \(func \$(\S+)(.*)\)\)$")
TYPE = re.compile(r"^ \(type \$(\S+) \(func(.*)\)\)$")
CALL = re.compile(r"\((?:return_)?call \$([^\s)]+)")
INDIRECT = re.compile(r"\((?:return_)?call_indirect (?:\$\S+ )?\(type \$(\S+)\)")
ELEM = re.compile(r"^ \(elem (.*)\)$")
WAITS = re.compile(r"^\[asyncify\] (\S+) is an import that can change the state")


def signature(text):
    """The (params, results) of a func's header or type, as text."""
    params = []
    results = []
    for kind, types in re.findall(r"\((param|result)((?: \$\S+)?(?: [a-z0-9]+)+)\)", text):
        words = [w for w in types.split() if not w.startswith("$")]
        (params if kind == "param" else results).extend(words)
    return (" ".join(params), " ".join(results))


def unescape(name):
    return re.sub(r"\\([0-9a-f]{2})", lambda m: chr(int(m.group(1), 16)), name)


def waiting_functions(wat, waits, hosts, unused, cut):
    """Every function that can reach a wait, by direct calls, and by indirect
    calls of the same signature made in `hosts` (the layer, and the game's
    loop and keyboard read: the game waits nowhere else, and SDL's and the
    runtimes' own indirect calls reach their own callbacks); `unused`
    functions are never called in the page, `cut` calls (caller, callee)
    never wait."""
    types = {}
    sig = {}
    calls = {}
    indirect = {}
    table = set()
    current = None
    with open(wat) as lines:
        for line in lines:
            m = TYPE.match(line)
            if m:
                types[m.group(1)] = signature(m.group(2))
                continue
            m = IMPORT.match(line) or FUNC.match(line)
            if m:
                current = unescape(m.group(1))
                sig[current] = signature(m.group(2))
                calls[current] = set()
                indirect[current] = set()
                continue
            m = ELEM.match(line)
            if m:
                table.update(unescape(n[1:]) for n in m.group(1).split() if n.startswith("$"))
                continue
            if current is not None:
                calls[current].update(unescape(n) for n in CALL.findall(line))
                indirect[current].update(types[t] for t in INDIRECT.findall(line))

    def matches(name, patterns):
        return any(fnmatch.fnmatchcase(name, p) for p in patterns)

    callers = {}
    for name, callees in calls.items():
        if matches(name, unused):
            continue
        for callee in callees:
            if (name, callee) not in cut:
                callers.setdefault(callee, set()).add(name)
    sites = {}
    for name, signatures in indirect.items():
        if matches(name, unused) or not matches(name, hosts):
            continue
        for s in signatures:
            sites.setdefault(s, set()).add(name)
    found = set(waits)
    todo = list(waits)
    while todo:
        name = todo.pop()
        reach = set(callers.get(name, ()))
        if name in table:
            reach |= sites.get(sig[name], set())
        for caller in reach - found:
            found.add(caller)
            todo.append(caller)
    return sorted(found - set(waits))


def main():
    args = sys.argv[1:]
    hosts, unused, cut = [], [], set()
    while args and args[0] != "--":
        option, value = args[0], args[1]
        args = args[2:]
        if option == "--host":
            hosts.append(value)
        elif option == "--unused":
            unused.append(value)
        elif option == "--cut":
            cut.add(tuple(value.split("=", 1)))
        else:
            sys.exit("WebAsyncify.py: unknown option " + option)
    command = args[1:]
    out = command[command.index("-o") + 1]
    work = tempfile.mkdtemp(prefix="vorblox-asyncify-")
    try:
        # The probe stops where Asyncify starts: passes that come after it
        # would inline functions the list has to name.
        probe = [a for a in command if not a.startswith("-sBINARYEN_EXTRA_PASSES")]
        probe[probe.index("-o") + 1] = os.path.join(work, os.path.basename(out))
        probe += ["-sASYNCIFY_IGNORE_INDIRECT", "-sASYNCIFY_ADVISE", "--profiling-funcs"]
        advice = subprocess.run(probe, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if advice.returncode != 0:
            sys.stderr.write(advice.stdout)
            return advice.returncode
        waits = [unescape(m.group(1)) for m in map(WAITS.match, advice.stdout.splitlines()) if m]
        wasm = os.path.splitext(probe[probe.index("-o") + 1])[0] + ".wasm"
        wat = os.path.join(work, "probe.wat")
        subprocess.run(["wasm-dis", wasm, "-o", wat], check=True)
        names = waiting_functions(wat, waits, hosts, unused, cut)
        listed = os.path.join(work, "only.txt")
        with open(listed, "w") as f:
            # emcc reads a '.' in a name as a space; '*' (any text) stands
            # for it, and '*' in a name (a pointer) matches itself too.
            f.writelines(n.replace(".", "*") + "\n" for n in names)
        # The list beside the page's build, to read (not part of the page).
        shutil.copyfile(listed, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(out))), "asyncify-only.txt"))
        print("web-asyncify: %d functions can wait: %s" % (len(names), ", ".join(waits)), file=sys.stderr)
        linked = subprocess.run(command + ["-sASYNCIFY_ONLY=@" + listed]).returncode
        if linked != 0:
            return linked
        # Once more -Oz on the finished module: after emcc's own last steps
        # (its imports and exports minified) it finds more to shrink.
        final = os.path.splitext(out)[0] + ".wasm"
        # Function names kept where the link asked for them (a build to profile).
        keep = ["-g"] if "--profiling-funcs" in command else []
        return subprocess.run(["wasm-opt", "-Oz", *keep, final, "-o", final]).returncode
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
