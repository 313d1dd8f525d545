// The window's dialogs and message boxes as HTML dialogs, with the desktop window's titles,
// labels and buttons. Each is modal; one opened from another stacks above it.

function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (name === "text") {
      node.textContent = value;
    } else if (value !== undefined && value !== null && value !== false) {
      node.setAttribute(name, value === true ? "" : value);
    }
  }
  node.append(...children);
  return node;
}
export {element};

// Opens a dialog; `settle(value)` closes it and resolves its promise. Escape settles with
// `cancelValue`.
function modal(title, cancelValue, build) {
  return new Promise((resolve) => {
    const dialog = element("dialog", {"aria-label": title, class: "modal"});
    const settle = (value) => {
      dialog.close();
      dialog.remove();
      resolve(value);
    };
    dialog.append(element("h2", {text: title}));
    build(dialog, settle);
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      settle(cancelValue);
    });
    document.body.append(dialog);
    dialog.showModal();
    (dialog.querySelector("[autofocus]") || dialog.querySelector("button"))?.focus();
  });
}

function buttonRow(...buttons) {
  return element("div", {class: "buttons-row"}, ...buttons);
}

function button(label, onClick, attributes = {}) {
  const node = element("button", {type: "button", text: label, ...attributes});
  node.addEventListener("click", onClick);
  return node;
}

function textBlock(text, error) {
  return element("p", {class: error ? "message error" : "message", text});
}

export function message({text, caption, error}) {
  return modal(caption, "", (dialog, settle) => {
    dialog.append(textBlock(text, error), buttonRow(button("OK", () => settle(""), {autofocus: true})));
  });
}

export function yesNo({text, caption}) {
  return modal(caption, "no", (dialog, settle) => {
    dialog.append(textBlock(text), buttonRow(button("Yes", () => settle("yes"), {autofocus: true}),
      button("No", () => settle("no"))));
  });
}

// The proceed button answers "proceed", or with a check box "checked"/"unchecked".
export function proceed({text, caption, proceed: proceedLabel, cancel, check, checked}) {
  return modal(caption, "", (dialog, settle) => {
    dialog.append(textBlock(text));
    let box = null;
    if (check) {
      box = element("input", {type: "checkbox", id: "proceed-check", checked});
      dialog.append(element("label", {class: "check"}, box, check));
    }
    const answer = () => (box ? (box.checked ? "checked" : "unchecked") : "proceed");
    dialog.append(buttonRow(button(proceedLabel, () => settle(answer()), {autofocus: true}),
      button(cancel, () => settle(""))));
  });
}

const LAYOUTS = ["3 Banks / 16 Patterns", "6 Banks / 8 Patterns", "12 Banks / 4 Patterns"];

export function layout({choice}) {
  return modal("Korvel Memory Layout", "", (dialog, settle) => {
    const group = element("fieldset", {}, element("legend", {text: "Memory Layout"}));
    LAYOUTS.forEach((label, index) => {
      const radio = element("input", {type: "radio", name: "layout", value: index,
        checked: index === choice, autofocus: index === choice});
      group.append(element("label", {class: "radio"}, radio, label));
    });
    const chosen = () => {
      const radio = group.querySelector("input:checked");
      return radio ? radio.value : "-1";
    };
    dialog.append(group, buttonRow(button("OK", () => settle(chosen())),
      button("Cancel", () => settle(""))));
  });
}

// "=" and the name after OK.
export function rename({text}) {
  return modal("Rename", "", (dialog, settle) => {
    const box = element("input", {type: "text", value: text, "aria-label": "Bank name", autofocus: true});
    box.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        settle("=" + box.value);
      }
    });
    dialog.append(box, buttonRow(button("OK", () => settle("=" + box.value))));
    queueMicrotask(() => box.select());
  });
}

export function about() {
  return modal("About Korvel", "", (dialog, settle) => {
    dialog.append(element("img", {src: "icon-192.png", alt: "", class: "about-icon"}));
    for (const line of ["Korvel Version 0.08 beta", "A simple Tool for the sequencer maker's",
      "W2-Sequencer", "Please mail Bugs / Questions",
      "to: the Korvel developers (korvel@example.org)"]) {
      dialog.append(element("p", {text: line}));
    }
    dialog.append(buttonRow(button("OK", () => settle(""), {autofocus: true})));
  });
}

function fillPorts(select, choices) {
  select.replaceChildren(...choices.entries.map((entry, index) =>
    element("option", {value: entry.port, text: entry.label, selected: index === choices.selected})));
}

function labelled(label, control, ...more) {
  const id = "control-" + Math.random().toString(36).slice(2);
  control.id = id;
  return element("div", {class: "form-row"}, element("label", {for: id, text: label}), control, ...more);
}

// Four lines after OK: input port, output port, pause, idle time.
export function midiSetup(request, portChoices) {
  return modal("MIDI Setup", "", (dialog, settle) => {
    const inputs = element("select", {"aria-label": "Input port"});
    const outputs = element("select", {"aria-label": "Output port"});
    fillPorts(inputs, request.inputs);
    fillPorts(outputs, request.outputs);
    const refill = (select, forInputs) => fillPorts(select, portChoices(forInputs, select.value));
    const pause = element("input", {type: "number", min: request.pauseMin, max: request.pauseMax,
      value: request.pause, "aria-label": "Pause between messages"});
    const idle = element("input", {type: "number", min: request.idleMin, max: request.idleMax,
      value: request.idle, "aria-label": "End a receive after a pause of"});
    dialog.append(
      labelled("Input port:", inputs, button("Refresh", () => refill(inputs, true),
        {title: "Refresh the input ports"})),
      labelled("Output port:", outputs, button("Refresh", () => refill(outputs, false),
        {title: "Refresh the output ports"})),
      labelled("Pause between messages:", pause, " ms"),
      labelled("End a receive after a pause of:", idle, " ms"),
      element("p", {text: request.api ? "MIDI system: " + request.api : "No MIDI system was found."}),
      buttonRow(button("OK", () => settle([inputs.value, outputs.value, pause.value, idle.value].join("\n"))),
        button("Cancel", () => settle(""))));
  });
}

// The receive dialog lives across the core's polls: actions queue until the next wait.
let receive = null;

export function receiveOpen({title, choices, status}) {
  const actions = [];
  let wake = null;
  const act = (action) => {
    actions.push(action);
    wake?.();
  };
  const ports = element("select", {"aria-label": "Input port"});
  fillPorts(ports, choices);
  ports.addEventListener("change", () => act("choose:" + ports.value));
  const refresh = button("Refresh", () => act("refresh"), {title: "Refresh the input ports"});
  const setup = button("MIDI Setup...", () => act("setup"));
  const progress = element("p", {class: "progress", "aria-label": "Received so far", role: "status",
    text: status});
  const dialog = element("dialog", {"aria-label": title, class: "modal"},
    element("h2", {text: title}), labelled("Input port:", ports, refresh, setup),
    element("p", {text: "Start the dump on the W2 now."}), progress,
    buttonRow(button("Done", () => act("done")), button("Cancel", () => act("cancel"))));
  dialog.addEventListener("cancel", (event) => {
    event.preventDefault();
    act("cancel");
  });
  document.body.append(dialog);
  dialog.showModal();
  receive = {dialog, ports, refresh, setup, progress, actions,
    wait: (ms) => new Promise((resolve) => {
      const done = () => {
        clearTimeout(timer);
        wake = null;
        resolve(actions.shift() || "");
      };
      const timer = setTimeout(done, ms);
      wake = done;
      if (actions.length) {
        done();
      }
    })};
}

export function receiveWait({ms}) {
  return receive.wait(ms);
}

export function receiveUpdate({choices, status, mayChangePort}) {
  if (choices) {
    fillPorts(receive.ports, choices);
  }
  if (status !== undefined) {
    receive.progress.textContent = status;
  }
  for (const control of [receive.ports, receive.refresh, receive.setup]) {
    control.disabled = !mayChangePort;
  }
}

export function receiveClose() {
  receive.dialog.close();
  receive.dialog.remove();
  receive = null;
}

let sending = null;

export function sendOpen({total}) {
  let cancelled = false;
  const progress = element("p", {class: "progress", "aria-label": "Sent so far", role: "status"});
  const bar = element("progress", {max: total, value: 0, "aria-label": "Messages sent"});
  const dialog = element("dialog", {"aria-label": "Send to W2", class: "modal"},
    element("h2", {text: "Send to W2"}), progress, bar,
    buttonRow(button("Cancel", () => { cancelled = true; })));
  dialog.addEventListener("cancel", (event) => {
    event.preventDefault();
    cancelled = true;
  });
  document.body.append(dialog);
  dialog.showModal();
  sending = {dialog, progress, bar, cancelled: () => cancelled};
}

// Waits `us` microseconds. Timers in a busy page come late by a few milliseconds each time,
// which over hundreds of messages would stretch a send well past its cable time: the timer
// takes the wait up to its last few milliseconds, and posted messages, which no timer clamping
// slows, take it to its end.
const channel = new MessageChannel();
const posted = [];
channel.port1.onmessage = () => posted.shift()?.();

function preciseWait(us) {
  const until = performance.now() + us / 1000;
  return new Promise((resolve) => {
    const close = () => {
      if (performance.now() >= until) {
        resolve();
      } else {
        posted.push(close);
        channel.port2.postMessage(0);
      }
    };
    const coarse = until - performance.now() - 6;
    if (coarse > 0) {
      setTimeout(close, coarse);
    } else {
      close();
    }
  });
}

export async function sendWait({us}) {
  await preciseWait(us);
  return sending.cancelled() ? "cancel" : "";
}

export function sendUpdate({text, sent}) {
  sending.progress.textContent = text;
  sending.bar.value = sent;
}

export function sendClose() {
  sending.dialog.close();
  sending.dialog.remove();
  sending = null;
}

// Where a browser has no save picker: the name to save as; "" after Cancel.
export function saveAs(proposed) {
  return modal("Save As", "", (dialog, settle) => {
    const box = element("input", {type: "text", value: proposed, "aria-label": "File name", autofocus: true});
    const answer = () => box.value.trim();
    box.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        settle(answer());
      }
    });
    dialog.append(element("p", {text: "The dump is saved as a download, its bank names beside it."}),
      box, buttonRow(button("Save", () => settle(answer())), button("Cancel", () => settle(""))));
  });
}

// Every backup in the site's storage, each to open or download.
export function backupsFolder(folder, files, onOpen, onDownload) {
  return modal("Backups", "", (dialog, settle) => {
    const list = element("ul", {class: "backup-files"});
    for (const name of files) {
      list.append(element("li", {}, element("span", {text: name}),
        button("Open", () => { settle(""); onOpen(folder + "/" + name); }),
        button("Download", () => onDownload(folder + "/" + name), {"aria-label": "Download " + name})));
    }
    if (!files.length) {
      list.append(element("li", {text: "Nothing has come from the W2 yet"}));
    }
    dialog.append(element("p", {text: "Kept in this browser's storage for the site."}), list,
      buttonRow(button("Close", () => settle(""))));
  });
}
