// The command table's keys, as Qt's portable text spells them ("Ctrl+Shift+Z; Ctrl+Y"), matched
// against the browser's key events. Ctrl is Command on a Mac, as Qt has it.
const NAMES = {Del: "Delete", Left: "ArrowLeft", Right: "ArrowRight", Up: "ArrowUp",
  Down: "ArrowDown", Ins: "Insert", Esc: "Escape", Return: "Enter"};

function parseOne(text) {
  const parts = text.split("+");
  const key = parts.pop();
  return {ctrl: parts.includes("Ctrl"), shift: parts.includes("Shift"), alt: parts.includes("Alt"),
    key: NAMES[key] || key};
}

export function parseKeys(text) {
  return text ? text.split("; ").filter(Boolean).map(parseOne) : [];
}

export function matches(binding, event) {
  const ctrl = event.ctrlKey || event.metaKey;
  if (binding.ctrl !== ctrl || binding.shift !== event.shiftKey || binding.alt !== event.altKey) {
    return false;
  }
  if (binding.key.length === 1) {
    return event.code === "Key" + binding.key || event.key.toUpperCase() === binding.key;
  }
  return event.key === binding.key;
}

// "Ctrl+Shift+Z or Ctrl+Y", as a tooltip or a menu shows them.
export function keysText(text) {
  return text ? text.split("; ").join(" or ") : "";
}
