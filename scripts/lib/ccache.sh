# Sourced by the build scripts: compile through ccache where it is installed.
# The precompiled headers are rebuilt before the files that use them, and
# ccache caches none of those files unless told that this is expected.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"
fi
