# The fuzz targets (scripts/fuzz): clang 14 and its libFuzzer and sanitizer run-times.
ensure_packages clang-14 libclang-rt-14-dev
