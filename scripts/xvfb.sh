# Sourced by the scripts that need an X server of their own: starts a
# private Xvfb, which picks a free display number itself and reports it once
# it accepts connections (-displayfd), and exports DISPLAY for it. The
# server runs in a session of its own, so a Ctrl-C at the terminal, which
# reaches the whole foreground process group, never stops it under a program
# that is still drawing; it is stopped by its process id when the sourcing
# script ends, after that script's own programs.
# Usage: source scripts/xvfb.sh [screen size WxH, default 1024x768]
unset WAYLAND_DISPLAY
xvfb_display="$(mktemp)"
# A background job is no process group leader, so setsid makes the new
# session in this very process: $! stays the server's process id.
setsid Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$xvfb_display" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$xvfb_display"' EXIT
for _ in $(seq 100); do
  [ -s "$xvfb_display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$xvfb_display" ]; then
  echo "Xvfb did not start within 10 seconds" >&2
  exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$xvfb_display")"
