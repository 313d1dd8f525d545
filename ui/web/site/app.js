// The browser's face of Korvel: the window built from the core's command table, the page
// object the core calls (notices at once, questions as promises), keys, menus and drag and
// drop. Every decision is the core's; this file only shows it and passes the user's hand on.
import createKorvel from "./korvel.js";
import * as dialogs from "./dialogs.js";
import * as files from "./files.js";
import * as webmidi from "./webmidi.js";
import {Tree} from "./tree.js";
import {keysText, matches, parseKeys} from "./keys.js";

const {element} = dialogs;
const INI_KEY = "korvel.INI";
const SIDES = ["Left", "Right"];

let core = null;
let commands = [];
const panes = [];
let lastPane = 0;
let busy = null;   // the command under way: one at a time, as the core's stack waits in it
let drag = null;   // the pane a node is dragged from
const statusLine = document.getElementById("status");

// What the core calls.
const tells = {
  status: ({text}) => showStatus(text),
  fileName: ({pane, name}) => panes[pane].showName(name),
  unsaved: ({pane, unsaved}) => panes[pane].showUnsaved(unsaved),
  tree: ({pane, forest}) => panes[pane].tree.draw(forest),
  treeChanged: ({pane, forest}) => panes[pane].tree.draw(forest),
  steps: ({pane, undo, redo}) => panes[pane].showSteps(undo, redo),
  comparing: ({on}) => showComparing(on),
  select: ({pane, path}) => panes[pane].tree.selectPath(path),
  selectedTag: ({pane}) => panes[pane].tree.selected ?? "",
  receiveOpen: dialogs.receiveOpen,
  receiveUpdate: dialogs.receiveUpdate,
  receiveClose: dialogs.receiveClose,
  sendOpen: dialogs.sendOpen,
  sendUpdate: dialogs.sendUpdate,
  sendClose: dialogs.sendClose,
  midiPorts: () => webmidi.portLines(),
  midiOpenInput: ({name}) => webmidi.openInput(name),
  midiOpenOutput: ({name}) => webmidi.openOutput(name),
  midiBroken: ({id}) => webmidi.broken(id),
  midiClose: ({id}) => webmidi.close(id),
  showFolder: ({folder}) => showBackupsFolder(folder),
  done: ({settings, written}) => afterCommand(settings, written),
  storageFailed: () => showStatus(statusLine.textContent + " · the site's storage could not keep it"),
};

const asks = {
  message: dialogs.message,
  yesNo: dialogs.yesNo,
  proceed: dialogs.proceed,
  layout: dialogs.layout,
  rename: dialogs.rename,
  about: dialogs.about,
  midiSetup: (request) => dialogs.midiSetup(request, portChoices),
  receiveWait: dialogs.receiveWait,
  sendWait: dialogs.sendWait,
  chooseOpen: ({pane}) => files.chooseOpen(core, pane),
  chooseSave: ({pane, proposed}) => files.chooseSave(core, pane, proposed),
  midiAccess: () => webmidi.requestAccess(),
};

const page = {
  tell: (request) => tells[request.kind]?.(request),
  ask: (request) => asks[request.kind](request),
  midi: {pending: webmidi.pending, take: webmidi.take, send: webmidi.send},
};

function showStatus(text) {
  statusLine.textContent = text;
  statusLine.setAttribute("aria-label", text ? "Status: " + text : "Status");
}

// A call into the core that asks nothing, made at once even while a command waits in a
// question (ccall would then wait for that command to end).
function callNow(name, returnType, argTypes = [], args = []) {
  const strings = [];
  const values = args.map((value, i) => {
    if (argTypes[i] !== "string") {
      return value;
    }
    const size = value.length * 4 + 1;
    const at = core._malloc(size);
    core.stringToUTF8(value, at, size);
    strings.push(at);
    return at;
  });
  const result = core["_" + name](...values);
  strings.forEach((at) => core._free(at));
  return returnType === "string" ? core.UTF8ToString(result) : result;
}

function portChoices(inputs, remembered) {
  return JSON.parse(callNow("korvel_port_choices", "string", ["number", "string"],
    [inputs ? 1 : 0, remembered]));
}

// A call into the core that may ask questions; refused while another waits.
function call(name, types = [], values = []) {
  if (busy) {
    return busy;
  }
  busy = core.ccall(name, null, types, values, {async: true}).finally(() => {
    busy = null;
  });
  return busy;
}

function run(command, pane) {
  lastPane = pane;
  return call("korvel_run", ["number", "number"], [command.index, pane]);
}

async function afterCommand(settings, written) {
  localStorage.setItem(INI_KEY, settings);
  if (written.length) {
    const notes = await files.handOn(core, written);
    if (notes.length) {
      showStatus(statusLine.textContent + "; " + notes.join("; "));
    }
  }
}

function tooltip(command, side) {
  const text = command.tooltip.replace("%1", side.toLowerCase());
  return command.keys ? `${text || command.text} (${keysText(command.keys)})` : text;
}

class Pane {
  constructor(index) {
    this.index = index;
    const side = SIDES[index];
    this.side = side;
    this.name = element("input", {type: "text", readonly: true, class: "file-name",
      "aria-label": side + " file name"});
    this.dot = element("span", {class: "unsaved-dot", hidden: true, title: "Unsaved changes"});
    this.buttons = new Map();
    const buttonRow = element("div", {class: "pane-buttons"});
    for (const command of commands.filter((c) => c.scope === "paneButton")) {
      const button = element("button", {type: "button", text: command.text,
        "aria-label": side + " " + command.text, title: tooltip(command, side) || undefined});
      button.addEventListener("click", () => run(command, index));
      this.buttons.set(command.name, button);
      buttonRow.append(button);
    }
    const open = this.buttons.get("Open");
    open.setAttribute("aria-haspopup", "menu");
    open.addEventListener("contextmenu", (event) => {
      event.preventDefault();
      showOpenMenu(index, open);
    });
    this.treeRoot = element("ul", {class: "tree"});
    this.tree = new Tree(this.treeRoot, side + " tree");
    this.header = element("div", {class: "tree-header", hidden: true, "aria-hidden": "true"},
      element("span", {text: ""}), element("span", {text: "Compared"}));
    this.element = element("section", {class: "pane", "aria-label": side},
      element("div", {class: "name-row"}, this.name, this.dot), buttonRow,
      element("div", {class: "tree-box"}, this.header, this.treeRoot));
    this.element.addEventListener("focusin", () => {
      lastPane = index;
    });
    this.wireTree();
  }

  showName(name) {
    this.name.value = name;
  }

  showUnsaved(unsaved) {
    this.dot.hidden = !unsaved;
    this.name.setAttribute("aria-description", unsaved ? "Unsaved changes" : "");
  }

  showSteps(undo, redo) {
    for (const [name, text] of [["Undo", undo], ["Redo", redo]]) {
      const command = commands.find((c) => c.name === name);
      const button = this.buttons.get(name);
      button.disabled = !text;
      button.title = text ? `${text} (${keysText(command.keys)})` : command.text;
    }
  }

  wireTree() {
    const root = this.treeRoot;
    root.addEventListener("contextmenu", (event) => {
      const item = event.target.closest("[role=treeitem]");
      if (item) {
        event.preventDefault();
        this.tree.select(item);
        showNodeMenu(this.index, item, event.clientX, event.clientY);
      }
    });
    root.addEventListener("dragstart", (event) => {
      const item = event.target.closest("[role=treeitem]");
      this.tree.select(item);
      drag = {fromPane: this.index};
      event.dataTransfer.effectAllowed = "copy";
      event.dataTransfer.setData("text/plain", item.querySelector(".text").textContent);
    });
    root.addEventListener("dragend", () => {
      drag = null;
      clearHighlight();
    });
    this.element.addEventListener("dragover", (event) => this.onDragOver(event));
    this.element.addEventListener("dragleave", clearHighlight);
    this.element.addEventListener("drop", (event) => this.onDrop(event));
  }

  targetOf(event) {
    const item = event.target.closest?.("[role=treeitem]");
    return item && this.treeRoot.contains(item) ? item : null;
  }

  onDragOver(event) {
    if (busy) {
      return;
    }
    const fromFiles = !drag && event.dataTransfer.types.includes("Files");
    const item = this.targetOf(event);
    const answer = callNow("korvel_may_drop", "number", ["number", "number", "string", "number"],
      [this.index, drag ? drag.fromPane : -1, fromFiles ? "files" : "", item ? Number(item.dataset.tag) : -1]);
    clearHighlight();
    if (answer & 1) {
      event.preventDefault();
      event.dataTransfer.dropEffect = "copy";
      if (answer & 2) {
        item.classList.add("drop-target");
      }
    }
  }

  async onDrop(event) {
    event.preventDefault();
    clearHighlight();
    const item = this.targetOf(event);
    const tag = item ? Number(item.dataset.tag) : -1;
    if (drag) {
      const from = drag.fromPane;
      drag = null;
      await call("korvel_drop", ["number", "number", "string", "number"], [this.index, from, "", tag]);
      return;
    }
    const paths = await files.placeDropped(core, this.index, [...event.dataTransfer.files]);
    if (paths.length) {
      await call("korvel_drop", ["number", "number", "string", "number"], [this.index, -1, paths.join("\n"), -1]);
    }
  }
}

function clearHighlight() {
  for (const item of document.querySelectorAll(".drop-target")) {
    item.classList.remove("drop-target");
  }
}

function showComparing(on) {
  document.body.classList.toggle("comparing", on);
  for (const pane of panes) {
    pane.header.hidden = !on;
  }
  const compare = document.querySelector("[data-command=compareButton]");
  compare?.setAttribute("aria-pressed", String(on));
}

// A menu at a place: items of {text, keys, disabled, run}, or "-" for a separator, or a
// heading {heading}.
function popup(entries, x, y, label) {
  document.querySelector(".menu")?.remove();
  const menu = element("div", {class: "menu", role: "menu", "aria-label": label});
  const close = () => {
    menu.remove();
    document.removeEventListener("pointerdown", outside, true);
  };
  const outside = (event) => {
    if (!menu.contains(event.target)) {
      close();
    }
  };
  for (const entry of entries) {
    if (entry === "-") {
      menu.append(element("div", {role: "separator", class: "separator"}));
    } else if (entry.heading) {
      menu.append(element("div", {class: "heading", text: entry.heading}));
    } else {
      const item = element("button", {type: "button", role: "menuitem", disabled: entry.disabled,
        title: entry.title}, element("span", {text: entry.text}),
        element("span", {class: "keys", text: entry.keys || ""}));
      item.addEventListener("click", () => {
        close();
        entry.run();
      });
      menu.append(item);
      if (entry.extra) {
        menu.append(entry.extra);
      }
    }
  }
  menu.addEventListener("keydown", (event) => {
    const items = [...menu.querySelectorAll("[role=menuitem]:not([disabled])")];
    const at = items.indexOf(document.activeElement);
    if (event.key === "Escape") {
      close();
    } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
      event.preventDefault();
      items[(at + (event.key === "ArrowDown" ? 1 : items.length - 1)) % items.length]?.focus();
    }
  });
  menu.style.left = x + "px";
  menu.style.top = y + "px";
  document.body.append(menu);
  document.addEventListener("pointerdown", outside, true);
  menu.querySelector("[role=menuitem]:not([disabled])")?.focus();
}

// The node's menu: the pane's commands with their keys, the window's after a separator. One
// that does not apply to the node shows greyed.
function showNodeMenu(pane, item, x, y) {
  const tag = Number(item.dataset.tag);
  const entries = [];
  let windowPart = false;
  for (const command of commands.filter((c) => c.nodeMenu)) {
    if (command.scope === "window" && !windowPart) {
      entries.push("-");
      windowPart = true;
    }
    entries.push({text: command.text.replace("&", ""), keys: keysText(command.keys),
      disabled: !callNow("korvel_applies", "number", ["number", "number"], [command.index, tag]),
      run: () => run(command, pane)});
  }
  popup(entries, x, y, SIDES[pane] + " node menu");
}

// Open's menu: the recent dumps of the pane, the backups (each to open or download), and where
// the browser can, a folder whose bank-name files Save may write beside their dumps.
function showOpenMenu(pane, button) {
  const entries = [{heading: "Open Recent"}];
  const recent = JSON.parse(callNow("korvel_recent", "string", ["number"], [pane]));
  for (const entry of recent) {
    entries.push({text: entry.path.replace(/^\/korvel\/files\/(left|right)\//, ""), disabled: !entry.present,
      title: entry.present ? entry.path : entry.path + " is not there any more",
      run: () => call("korvel_open_named", ["number", "string"], [pane, entry.path])});
  }
  if (!recent.length) {
    entries.push({text: "No dumps opened or saved here yet", disabled: true, run: () => {}});
  }
  entries.push("-", {heading: "Backups"});
  const list = JSON.parse(callNow("korvel_backups", "string", ["number"], [pane]));
  for (const backup of list.backups) {
    const save = element("button", {type: "button", class: "download", text: "Download",
      "aria-label": "Download the backup of " + backup.when});
    save.addEventListener("click", () => files.download(core, backup.path));
    entries.push({text: `${backup.when} \u2014 ${backup.change}`, title: `${backup.path} (${backup.messages} messages)`,
      run: () => call("korvel_open_backup", ["number", "string"], [pane, backup.path]), extra: save});
  }
  if (list.problem) {
    entries.push({text: list.problem, disabled: true, run: () => {}});
  } else if (!list.backups.length) {
    entries.push({text: "Nothing has come from the W2 yet", disabled: true, run: () => {}});
  }
  entries.push("-", {text: "Show all backups...", run: () => call("korvel_show_all_backups")});
  if (files.hasFolders) {
    entries.push({text: "Open folder…", title: "Lets Save write the bank names beside their dump",
      run: async () => {
        const name = await files.openFolder();
        if (name) {
          showStatus("Save writes bank names beside their dumps in " + name);
        }
      }});
  }
  const place = button.getBoundingClientRect();
  popup(entries, place.left, place.bottom, SIDES[pane] + " Open menu");
}

function showBackupsFolder(folder) {
  let names = [];
  try {
    names = core.FS.readdir(folder).filter((name) => name !== "." && name !== "..").sort().reverse();
  } catch (error) {
    // no folder yet: nothing has come
  }
  dialogs.backupsFolder(folder, names, (path) => call("korvel_open_backup", ["number", "string"], [lastPane, path]),
    (path) => files.download(core, path));
}

function windowMenu(x, y) {
  popup(commands.filter((c) => c.windowMenu).map((command) => ({text: command.text.replace("&", ""),
    keys: keysText(command.keys), run: () => run(command, lastPane)})), x, y, "Window menu");
}

function buildWindow() {
  const main = document.getElementById("window");
  main.replaceChildren();
  panes.push(new Pane(0), new Pane(1));
  const between = element("div", {class: "transfers"});
  // The transfers read right to left above left to right, and Compare under them.
  for (const name of ["rightToLeft", "leftToRight", "compareButton"]) {
    const command = commands.find((c) => c.name === name);
    const button = element("button", {type: "button", text: command.text, "data-command": name,
      "aria-label": command.accessibleName, title: tooltip(command, "")});
    if (name === "compareButton") {
      button.setAttribute("aria-pressed", "false");
    }
    button.addEventListener("click", () => run(command, lastPane));
    between.append(button);
  }
  const menuButton = element("button", {type: "button", class: "window-menu", text: "\u2630",
    "aria-label": "Window menu", "aria-haspopup": "menu"});
  menuButton.addEventListener("click", () => {
    const place = menuButton.getBoundingClientRect();
    windowMenu(place.left, place.bottom);
  });
  between.append(menuButton);
  main.append(panes[0].element, between, panes[1].element);
  main.addEventListener("contextmenu", (event) => {
    if (!event.target.closest("[role=tree], button, input")) {
      event.preventDefault();
      windowMenu(event.clientX, event.clientY);
    }
  });
}

// Keys of the table: a command whose keys act in a tree takes them while that tree has the
// focus; the others act in the whole window, on the pane last used.
function onKey(event) {
  if (document.querySelector("dialog[open], .menu")) {
    return;
  }
  const treePane = panes.findIndex((pane) => pane.treeRoot.contains(document.activeElement));
  for (const command of commands) {
    if (!parseKeys(command.keys).some((binding) => matches(binding, event))) {
      continue;
    }
    if (command.treeKeys && treePane < 0) {
      continue;
    }
    event.preventDefault();
    run(command, treePane >= 0 ? treePane : lastPane);
    return;
  }
  if (treePane >= 0 && (event.key === "ContextMenu" || (event.shiftKey && event.key === "F10"))) {
    const item = panes[treePane].treeRoot.querySelector("[aria-selected=true]");
    if (item) {
      event.preventDefault();
      const place = item.getBoundingClientRect();
      showNodeMenu(treePane, item, place.left + 20, place.bottom);
    }
  }
}

async function start() {
  core = await createKorvel({page});
  core.now = callNow;
  await core.ccall("korvel_mount", null, [], [], {async: true});
  commands = JSON.parse(callNow("korvel_commands", "string", [], []));
  buildWindow();
  document.addEventListener("keydown", onKey);
  window.addEventListener("beforeunload", (event) => {
    if (callNow("korvel_is_changed", "number", ["number"], [0]) ||
        callNow("korvel_is_changed", "number", ["number"], [1])) {
      event.preventDefault();
      event.returnValue = "";
    }
  });
  callNow("korvel_start", null, ["string"], [localStorage.getItem(INI_KEY) || ""]);
  document.body.dataset.ready = "true";
  if ("serviceWorker" in navigator) {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
}

start();
