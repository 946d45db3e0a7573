# libpng (with zlib) for decoding pictures, and the native tests of the decoder.
ensure_packages libpng-dev zlib1g-dev
