# Shared by the project's scripts: where the sources and the build trees are.
PROJECT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$PROJECT_ROOT/build}
export PROJECT_ROOT BUILD_ROOT
