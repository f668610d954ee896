// The whole screen, from the page's button or Alt+Enter (the desktop's other
// key for it; F11 is the browser's own and does the same). The field then
// takes the largest whole zoom that fits, as on any resize.
function toggle() {
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  } else if (document.documentElement.requestFullscreen) {
    document.documentElement.requestFullscreen().catch(() => {});
  }
}

export function setUpWholeScreen() {
  // Shown only where the browser lets a page take the whole screen.
  if (!document.fullscreenEnabled) return;
  const button = document.getElementById('whole-screen');
  button.hidden = false;
  button.addEventListener('click', toggle);
  window.addEventListener('keydown', (e) => {
    if (e.altKey && !e.ctrlKey && !e.metaKey && (e.key === 'Enter')) {
      e.preventDefault();
      toggle();
    }
  });
}
