# The Linux desktop program: Qt 6 Widgets (with its test library and the xcb and
# offscreen platforms), a Chinese face to draw the windows in, Xvfb and xwininfo
# (x11-utils) for the screenshots and the package test, xdotool to click in it, python3 to draw the icons,
# dpkg-dev for the .deb's library dependencies (dpkg-shlibdeps).
# libx11-dev and libxcb1-dev: the global hot key grabs its key on the X server.
ensure_packages qt6-base-dev libx11-dev libxcb1-dev qt6-qpa-plugins fonts-wqy-microhei xvfb xauth x11-utils xdotool python3 dpkg-dev
