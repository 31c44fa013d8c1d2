# Shared by the project's scripts: where the sources and the build trees are.
PROJECT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$PROJECT_ROOT/build}
export PROJECT_ROOT BUILD_ROOT

# The compiler cache takes paths relative to the project root and leaves the build folder out of its
# keys, so a clone in another folder (CI's, another work tree) reuses what this one compiled. The
# sloppiness lets it cache the files that use the tests' precompiled header.
export CCACHE_BASEDIR=$PROJECT_ROOT
export CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS=pch_defines,time_macros
