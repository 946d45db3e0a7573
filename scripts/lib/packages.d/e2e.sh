# The end-to-end tests of the Windows build: Wine in Xvfb, the Chinese font the
# test prefixes substitute for 微软雅黑, ImageMagick for the screenshots, iconv
# (libc-bin) for the UTF-16 registry file. Sourced after scripts/lib/packages.sh.
ensure_packages wine wine32:i386 xvfb xauth fonts-wqy-microhei imagemagick libc-bin
