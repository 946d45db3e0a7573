# The Linux voice: espeak-ng synthesises (with its voice data) and pcaudio plays.
ensure_packages libespeak-ng-dev espeak-ng-data libpcaudio-dev
