// Addresses and names taken from the update page: splitting an address into host and path, the
// "http://" prefix of the page address, where an HTTP redirect may lead, and the checks that a
// client-side file name names a new program in the target folder and nothing else, and that a
// value shown to the user cannot reorder or hide what is around it.
#pragma once

#include <vector>

#include "framework/rtl/System.h"

struct TWuAddress {
    bool Valid = true;  // false: an address this component does not fetch (another scheme, a share)
    String Host;        // empty when the address names none
    String Path;
};

// An address that starts with "http://" (in any case) loses those seven characters; the host is
// what comes before the first "/", the path the rest from that "/" on. Without any "/" the whole
// text is the path. An address without the prefix is a path on the page's own host, unless it
// names another scheme, a drive or a network path (a ":" before its first "/", or a leading "//"
// or "\"): that one is not valid, nor is a host with anything but letters, digits, ".", "-", "_",
// nor a path with a control character.
TWuAddress SplitURL(const String& url);

// The page address as stored: "http://" in front unless it already starts so (in any case).
String WithHttpPrefix(const String& url);

// Where an HTTP redirect from host:port leads: an absolute path there, or an "http://" address on
// the same host (in any case) and the same port (80 when it names none). Anything else (another
// host or port, another scheme, a relative path) gives false.
bool RedirectPath(const String& location, const String& host, Word port, String& path);

// True for a bare file name: not empty, no ".." , no path separator, no drive or stream colon,
// no wildcard or control character. The page chooses this name, so it must not reach outside the
// target folder.
bool IsPlainFileName(const String& name);

// True for a name the page may give the downloaded setup program: a plain name ending in ".exe",
// none of the files the programs ship or read (reservedNames, compared in any case), no device
// name (CON, NUL, COM1 ... with any extension), no "~" (a short alias of another file), and no
// control, format or bidirectional character.
bool IsAcceptableSetupName(const String& name, const std::vector<String>& reservedNames);

// A value from the page as it may be shown: control, format and bidirectional characters removed.
String DisplayableText(const String& value);
