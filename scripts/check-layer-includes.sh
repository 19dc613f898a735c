#!/usr/bin/env bash
# The layer include check (CTest's layer_includes): every file of a layer includes headers of its
# own layer and of the layers below it only. The list, written by CMake (cmake/linkcheck/), has
#   folder <folder> <layer>              each layer's folders
#   layer <layer> <layer below>...       what each layer links, transitively
#   file <layer> <path>                  each layer's sources and headers
# An include names its header from the project's root ("framework/rtl/WinApi.h"); one from a
# folder no layer has (testing/, a system header) is not a layer's and not checked here.
set -euo pipefail
list=$1
awk '
  $1 == "folder" { owner[$2] = $3; next }
  $1 == "layer" { for (i = 3; i <= NF; i++) below[$2 " " $i] = 1; next }
  $1 == "file" {
    layer = $2; path = $3; n = 0; files++
    while ((getline line < path) > 0) {
      n++
      if (line !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
      header = line
      sub(/^[^"]*"/, "", header); sub(/".*$/, "", header)
      folder = header; if (!sub(/\/[^\/]*$/, "", folder)) continue
      if (!(folder in owner)) continue
      other = owner[folder]
      if (other == layer || (layer " " other) in below) continue
      printf "%s:%d: layer %s includes %s of layer %s, which is not below it\n", path, n, layer, header, other
      bad++
    }
    close(path)
  }
  END {
    if (files == 0) { print "layer_includes: no files listed"; exit 1 }
    printf "%d files of the layers checked, %d upward includes\n", files, bad
    exit (bad > 0 ? 1 : 0)
  }' "$list"
