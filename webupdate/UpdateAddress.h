// Addresses and names taken from the update page: splitting an address into host and path, the
// "http://" prefix of the page address, and the check that a client-side file name names a file
// in the target folder and nothing else.
#pragma once

#include "framework/rtl/System.h"

struct TWuAddress {
    String Host;  // empty when the address names none
    String Path;
};

// Drops the first seven characters when "http://" occurs anywhere (in any case); the host is what
// comes before the first "/", the path the rest from that "/" on. Without any "/" the whole text
// is the path.
TWuAddress SplitURL(const String& url);

// The page address as stored: "http://" in front unless it already starts so (in any case).
String WithHttpPrefix(const String& url);

// True for a bare file name: not empty, no ".." , no path separator, no drive or stream colon,
// no wildcard or control character. The page chooses this name, so it must not reach outside the
// target folder.
bool IsPlainFileName(const String& name);
