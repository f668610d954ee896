// The game's modal boxes as the page's dialogs. A dialog takes the focus
// when it opens, closes with Esc, and gives the focus back when it closes.

async function openBox(dialog, title, text) {
  // A box already up (the page's own notice) is answered first.
  while (dialog.open) await new Promise((r) => dialog.addEventListener('close', r, { once: true }));
  dialog.querySelector('.title').textContent = title;
  dialog.querySelector('.text').textContent = text;
  const before = document.activeElement;
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      if (before instanceof HTMLElement && before.isConnected && !before.hidden) before.focus();
      else document.getElementById('form1').focus();
      resolve(dialog.returnValue);
    }, { once: true });
    dialog.returnValue = '';
    dialog.showModal();
    const input = dialog.querySelector('input');
    if (input) input.focus();
  });
}

export async function messageBox(text, title) {
  await openBox(document.getElementById('msgbox'), title, text);
}

// The typed text, or null when cancelled (Esc, キャンセル).
export async function inputBox(prompt, title) {
  const dialog = document.getElementById('inputbox');
  const input = dialog.querySelector('input');
  input.value = '';
  const shown = openBox(dialog, title, prompt);
  const answer = await shown;
  return answer === 'ok' ? input.value : null;
}

// OK or キャンセル for a question of the page's own; true for OK.
export async function confirmBox(text, title) {
  return await openBox(document.getElementById('confirmbox'), title, text) === 'ok';
}
