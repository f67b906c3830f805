#!/usr/bin/env bash
# The main job under Wine: a sample application folder (MyApp.exe beside
# MyApp.kiv, a lib folder and a stand-in Java VM) launched by console.exe, and
# a Corvane run. Wine runs the 64-bit build of the same sources (see README).
# Usage: demo.sh [BUILD]
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin="$build/win64/bin"
prefix="$build/win64/wineprefix"
app="$build/demo/MyApp"

rm -rf "$app"
mkdir -p "$app/lib" "$app/jre/bin"
cp "$bin/console.exe" "$app/MyApp.exe"
cp "$bin/fixtures/standin.exe" "$app/jre/bin/java.exe"
printf 'show=1\nexit=0\n' >"$app/jre/bin/standin.cfg"
: >"$app/lib/myapp.jar"
cat >"$app/MyApp.kiv" <<'KIV'
# A sample application: its main class, class path and the VM it runs in.
kiv.application.name=My Application
kiv.nl.java.launcher.main.class=com.example.myapp.Main
kiv.class.path=lib\\myapp.jar;$ENV_CLASSPATH$
kiv.nl.current.vm=jre\\bin\\java.exe
kiv.nl.valid.vm.list=JRE_J2 JDK_J2
kiv.nl.java.option.java.heap.size.max=256m
kiv.nl.java.option.verbose=gc
KIV

"$here/wine-prefix.sh" start "$prefix"
trap '"$here/wine-prefix.sh" stop "$prefix"' EXIT
export WINEPREFIX=$(realpath "$prefix") WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64 DEMO_SETTING=demo
wine=/usr/lib/wine/wine64

echo "== MyApp.exe launches its Java application"
set +e
output=$(cd "$app" && "$wine" MyApp.exe --greeting "hello world")
status=$?
# Every environment variable reaches the Java side three times; show one of them.
awk '!/^  kiv\.nl\.env\./ || tolower($0) ~ /demo_setting=/' <<<"$output"
echo "  (and three kiv.nl.env lines for every other environment variable)"
echo "MyApp.exe ended with exit code $status"

echo
echo "== Corvane runs a command in a hidden console and passes on its exit code"
"$wine" "$bin/Corvane.exe" cmd /c "echo hello from the child & exit 7"
echo "Corvane ended with exit code $?"
