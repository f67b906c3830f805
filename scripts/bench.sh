#!/usr/bin/env bash
# `make bench`: what the launcher costs next to the least a launcher can do.
# Each figure runs A and B in rotation (A and both minimal programs, for the
# start-up and selection figures) and reports the medians over all runs: wall time of the whole process (from spawn to exit, children included) and
# its peak resident memory (GNU time's %M: the peak resident set of the largest
# process of the tree that the run waited for, in MB).
#
# Wine runs the 64-bit build of the same sources (<build>/win64): this
# machine's kernel cannot execute 32-bit code, so the shipped 32-bit exes in
# dist/ are only measured for size and imports. Everything runs in a Wine
# prefix of its own, <build>/bench/wineprefix.
# Usage: bench.sh [BUILD]    (PAIRS, SELECTION_PAIRS, INSTALLER_PAIRS and
#                             PACK_MB in the environment change the workload)
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
bin="$build/win64/bin"
work="$build/bench"
prefix="$work/wineprefix"

for exe in "$bin/console.exe" "$bin/fixtures/standin.exe" "$bin/fixtures/minimal_launcher.exe" \
           "$bin/fixtures/minimal_launcher_user32.exe" "$top/dist/console.exe" \
           "$top/dist/Corvane.exe"; do
  [ -f "$exe" ] || { echo "bench: $exe is missing: run make build-tests first" >&2; exit 1; }
done

for tool in /usr/bin/time curl md5sum unzip i686-w64-mingw32-objdump; do
  if ! command -v "$tool" >/dev/null; then
    echo "bench: $tool is missing (Debian packages: time curl unzip binutils-mingw-w64)" >&2
    exit 1
  fi
done

mkdir -p "$work"
"$here/wine-prefix.sh" start "$prefix"
trap '"$here/wine-prefix.sh" stop "$prefix"' EXIT
export WINEPREFIX=$(realpath "$prefix") WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64
# The loopback downloads must not go through a proxy.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy FTP_PROXY all_proxy ALL_PROXY

exec python3 - "$build" "$top" "$work" "$WINEPREFIX" <<'PY'
import glob, os, random, shutil, statistics, subprocess, sys, time, zipfile

build, top, work, prefix = sys.argv[1:5]
bin_dir = os.path.join(build, "win64", "bin")
fixtures = os.path.join(bin_dir, "fixtures")
wine = "/usr/lib/wine/wine64"
pairs = int(os.environ.get("PAIRS", "30"))
selection_pairs = int(os.environ.get("SELECTION_PAIRS", "30"))
installer_pairs = int(os.environ.get("INSTALLER_PAIRS", "5"))
pack_mb = int(os.environ.get("PACK_MB", "200"))  # uncompressed; the pack is about half
pack_files = 3000


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


memory_report = os.path.join(work, "maxrss.txt")
run_output = os.path.join(work, "last-run.txt")


def run(command, cwd, env=None, expect=None):
    """Wall seconds and peak resident MB of one run, checking its exit code.

    The peak comes from GNU time: a process forked from this Python would
    start with Python's own high-water mark, which ru_maxrss keeps across exec.
    """
    with open(run_output, "wb") as output:
        start = time.perf_counter()
        code = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", memory_report] + command,
                               cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=output,
                               stderr=subprocess.STDOUT)
        elapsed = time.perf_counter() - start
    if expect is not None and code != expect:
        with open(run_output, errors="replace") as output:
            printed = output.read()[-2000:]
        sys.exit(f"bench: {command} ended with {code}, expected {expect}; it printed:\n{printed}")
    with open(memory_report) as report:
        kilobytes = int(report.read().split()[-1])
    return elapsed, kilobytes / 1024.0


def measure(steps, count, before=None):
    """Runs the named steps in rotation `count` times after one warm-up each;
    returns the median time and peak memory of each, by name."""
    for _, step in steps:
        if before: before()
        step()
    samples = {name: ([], []) for name, _ in steps}
    for _ in range(count):
        for name, step in steps:
            if before: before()
            seconds, megabytes = step()
            samples[name][0].append(seconds)
            samples[name][1].append(megabytes)
    return {name: (statistics.median(times), statistics.median(memory))
            for name, (times, memory) in samples.items()}


def report(label, medians, a_name, b_name, count):
    (ta, ma), (tb, mb) = medians[a_name], medians[b_name]
    print(f"{label}: {a_name} {ta:.3f} s vs {b_name} {tb:.3f} s = {ta / tb:.2f}x time; "
          f"peak memory {ma:.1f} MB vs {mb:.1f} MB = {ma / mb:.2f}x ({count} runs each)",
          flush=True)


def remove_runtime_files():
    """The Java side deletes the runtime property file the launcher hands it;
    the stand-in VM does not, and a temporary folder that fills up with them
    makes every new temporary name slower to find under Wine."""
    for leftover in glob.glob(os.path.join(prefix, "drive_c", "users", "*", "Temp", "kiv*.tmp")):
        os.remove(leftover)


def compare_with_minimal(label, a_name, a, minimal_run, minimal_user32_run, count):
    """A against both minimal programs, all three in one rotation; the third
    line is the floor that loading user32 sets under this Wine."""
    medians = measure([(a_name, a), ("minimal", minimal_run),
                       ("minimal+user32", minimal_user32_run)], count,
                      before=remove_runtime_files)
    report(label, medians, a_name, "minimal", count)
    report(label, medians, a_name, "minimal+user32", count)
    report(f"{label}, user32 floor", medians, "minimal+user32", "minimal", count)


def make_app(folder, kiv):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(bin_dir, "console.exe"), os.path.join(folder, "MyApp.exe"))
    with open(os.path.join(folder, "MyApp.kiv"), "w") as out:
        out.write("kiv.nl.java.launcher.main.class=com.example.Main\n"
                  "kiv.class.path=lib\\\\app.jar\n")
        out.write(kiv)
    return os.path.join(folder, "MyApp.exe")


def install_standin(folder, exit_code):
    os.makedirs(folder, exist_ok=True)
    java = os.path.join(folder, "java.exe")
    shutil.copy(os.path.join(fixtures, "standin.exe"), java)
    with open(os.path.join(folder, "standin.cfg"), "w") as out:
        out.write(f"exit={exit_code}\n")
    return java


print("Wine runs the 64-bit build (win64): this machine cannot execute 32-bit code.", flush=True)
print("Time: median wall time of the whole run, children included. Memory: median peak "
      "resident set (GNU time %M) of the largest process the run waited for.", flush=True)

# --- start-up: a named VM --------------------------------------------------
app = os.path.join(work, "startup")
launcher = make_app(app, "kiv.nl.valid.vm.list=ALL\n")
vm = install_standin(os.path.join(app, "vm", "bin"), 0)
minimal = os.path.join(fixtures, "minimal_launcher.exe")
minimal_user32 = os.path.join(fixtures, "minimal_launcher_user32.exe")
console_run = lambda: run([wine, launcher, "KIV_VM", windows_path(vm)], app, expect=0)
compare_with_minimal("start-up", "console.exe KIV_VM", console_run,
                     lambda: run([wine, minimal, windows_path(vm)], app, expect=0),
                     lambda: run([wine, minimal_user32, windows_path(vm)], app, expect=0), pairs)

# --- selection: no VM named, 50 registered, 30 extra PATH folders -----------
app = os.path.join(work, "selection")
launcher = make_app(app, "kiv.nl.valid.vm.list=ALL\n")
reg = []
for n in range(1, 51):
    home = os.path.join(app, "vms", f"jre{n}")
    install_standin(os.path.join(home, "bin"), n)
    view = "/reg:64" if n % 2 == 0 else "/reg:32"
    key = f"HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8.0_{n}"
    for name, value in (("JavaHome", windows_path(home)), ("MicroVersion", str(n))):
        reg.append([wine, "reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f", view])
for command in reg:
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
path_folders = []
for n in range(30):
    folder = os.path.join(app, "path", f"p{n}")
    os.makedirs(folder, exist_ok=True)
    path_folders.append(windows_path(folder))
env = dict(os.environ, WINEPATH=";".join(path_folders))
# Even versions sit in the 64-bit view, the one a 64-bit process reads; the
# newest there, 1.8.0_50, ends with 50.
chosen = windows_path(os.path.join(app, "vms", "jre50", "bin", "java.exe"))
print("selection: a 64-bit process reads its own registry view only, so 25 of the 50 VMs "
      "are candidates here; a 32-bit launcher under WOW64 would read both.", flush=True)
selection_run = lambda: run([wine, launcher], app, env, expect=50)
compare_with_minimal("selection (50 VMs in both views, 30 PATH folders)", "console.exe",
                     selection_run, lambda: run([wine, minimal, chosen], app, env, expect=50),
                     lambda: run([wine, minimal_user32, chosen], app, env, expect=50),
                     selection_pairs)

# --- installer: download, MD5, two-stage extraction ------------------------
app = os.path.join(work, "installer")
# The list admits only JDKs and none is registered: the VM comes from the pack.
launcher = make_app(os.path.join(app, "app"), "kiv.nl.valid.vm.list=JDK_J2\n")
served = os.path.join(app, "served")
os.makedirs(served, exist_ok=True)
pack = os.path.join(served, f"jre{pack_mb}.vm")
if not os.path.exists(pack):
    inner = pack + ".inner"
    rng = random.Random(9)
    # Half random, half text-like, so the pack compresses like a real VM's.
    body = pack_mb * 2**20 // pack_files
    with zipfile.ZipFile(inner, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as z:
        z.write(os.path.join(fixtures, "standin.exe"), "bin/java.exe")
        z.writestr("bin/standin.cfg", "exit=7\n")
        line = b"".join(b"class%04d method field constant pool entry\n" % i for i in range(256))
        for n in range(pack_files - 2):
            data = rng.randbytes(body) if n % 2 == 0 else (line * (body // len(line) + 1))[:body]
            z.writestr(f"lib/part{n // 100:02d}/file{n:04d}.bin", data)
    with zipfile.ZipFile(pack, "w", zipfile.ZIP_STORED) as z:
        z.write(inner, "vm.zip")
        z.writestr("vm.properties", "vm.version=1.8.0\n")
    os.remove(inner)
pack_bytes = os.path.getsize(pack)
md5 = subprocess.run(["md5sum", pack], check=True, capture_output=True, text=True).stdout.split()[0]

server = subprocess.Popen([sys.executable, "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                           "--directory", served], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True)
try:
    port = server.stdout.readline().split(" port ")[1].split()[0]
    url = f"http://127.0.0.1:{port}/{os.path.basename(pack)}"
    os.makedirs(os.path.join(app, "app", "jvmspecs"), exist_ok=True)
    with open(os.path.join(app, "app", "jvmspecs", "jvmspecs.properties"), "w") as out:
        out.write("build.option=withoutvm\nbuild.without.vm.search.option=12\n"
                  f"build.without.vm.direct.download.url={url}\n"
                  "build.without.vm.dont.search.download.url.md5Checksum.applicable=true\n"
                  f"build.without.vm.dont.search.download.url.md5Checksum.value={md5}\n")
    native = os.path.join(app, "native")

    def reset():
        shutil.rmtree(os.path.join(app, "app", "Windows"), ignore_errors=True)
        os.makedirs(os.path.join(app, "app", "Windows", "jvmspecs"))
        shutil.rmtree(native, ignore_errors=True)
        os.makedirs(native)

    script = (f"curl -sf --noproxy '*' -o {native}/jre.vm {url} && md5sum {native}/jre.vm && "
              f"unzip -q {native}/jre.vm -d {native}/x && "
              f"unzip -q {native}/x/vm.zip -d {native}/jre")
    label = f"installer ({pack_bytes / 2**20:.0f} MB pack, {pack_files} files)"
    medians = measure([("console.exe",
                        lambda: run([wine, launcher], os.path.join(app, "app"), expect=7)),
                       ("curl+md5sum+unzip", lambda: run(["bash", "-c", script], app, expect=0))],
                      installer_pairs, before=reset)
    report(label, medians, "console.exe", "curl+md5sum+unzip", installer_pairs)
    reset()
finally:
    server.terminate()
    server.wait()

# --- the shipped exes -------------------------------------------------------
for name in ("console.exe", "Corvane.exe"):
    exe = os.path.join(top, "dist", name)
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], check=True,
                          capture_output=True, text=True).stdout
    dlls = [line.split("DLL Name:")[1].strip() for line in dump.splitlines() if "DLL Name:" in line]
    print(f"size: dist/{name} {os.path.getsize(exe)} bytes "
          f"({os.path.getsize(exe) / 1000:.0f} KB); imports {' '.join(dlls)}", flush=True)
PY
