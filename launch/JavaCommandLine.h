// Renders the command line of each VM family from a LaunchOptions. Pure text:
// the caller finds the executable, starts the process and writes any warning.
#pragma once

#include <string>

#include "launch/LaunchOptions.h"

namespace kiv {

// What the Java main class receives: the two leading arguments quoted with
// forward slashes, each followed by a blank, then the application arguments
// with every backslash doubled, quoted when they hold a blank or tab or are
// empty, blank separated. Quote characters inside arguments pass unchanged, so
// a quoted wildcard stays quoted and the VM does not expand it.
std::wstring argumentTail(const LaunchOptions& options);

// Old-style jre.exe/java.exe line (-ms/-mx, -noasyncgc, ...). The caller has
// already appended home\lib\classes.zip to options.classPath. jre.exe and
// jrew.exe take "-cp"; any other executable takes "-classpath".
std::wstring jreCommandLine(const std::wstring& executable, const LaunchOptions& options);

// java.exe line (-Xms/-Xmx, -verbose:kind, ...); from major version 9 on it opens
// jdk.internal.loader to the application's class loader.
std::wstring javaCommandLine(const std::wstring& executable, unsigned majorVersion,
                             const LaunchOptions& options);

// Microsoft jview.exe line: class path, main class and arguments only.
std::wstring jviewCommandLine(const std::wstring& executable, const LaunchOptions& options);

// Applies the raw kiv.nl.java.option.verbose value to `verbose` and
// `verboseKind`. Returns the warning line for standard error when the value is
// not understood (verbosity is then off), otherwise the empty string.
std::wstring applyVerbosity(const std::wstring& rawValue, LaunchOptions& options);

}  // namespace kiv
