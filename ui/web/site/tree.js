// One pane's tree as an ARIA tree: banks, playlist sets, tracks and patterns from the core's
// forest, with their fill icons, the "Compared" column and its colours. It keeps which nodes
// are open and which is selected across redraws; the arrows move as in the desktop tree.
import {element} from "./dialogs.js";

const ICON = 12;  // the icon strip's cell

function markClass(mark) {
  return mark ? "mark-" + mark.replace(" ", "-") : "";
}

export class Tree {
  constructor(root, label) {
    this.root = root;
    this.root.setAttribute("role", "tree");
    this.root.setAttribute("aria-label", label);
    this.open = new Set();   // tags of open nodes
    this.selected = null;    // the selected node's tag
    this.items = new Map();  // tag -> treeitem
    this.root.addEventListener("keydown", (event) => this.onKey(event));
    this.root.addEventListener("click", (event) => {
      const item = event.target.closest("[role=treeitem]");
      if (!item) {
        return;
      }
      if (event.target.classList.contains("toggle")) {
        this.toggle(item);
      }
      this.select(item);
    });
    this.root.addEventListener("dblclick", (event) => {
      const item = event.target.closest("[role=treeitem]");
      if (item) {
        this.toggle(item);
      }
    });
  }

  draw(forest) {
    this.items.clear();
    this.root.replaceChildren(...forest.map((node, bank) => this.item(node, 1, {bank, child: -1, pattern: -1})));
    const selected = this.items.get(this.selected);
    if (selected) {
      this.mark(selected);
    } else {
      this.selected = null;
      this.focusable(this.root.querySelector("[role=treeitem]"));
    }
  }

  item(node, level, path) {
    const hasChildren = node.children.length > 0;
    const isOpen = this.open.has(node.tag);
    const row = element("div", {class: "row " + markClass(node.mark),
      title: node.namesDiffer ? "The bank names differ" : undefined},
      element("span", {class: "toggle", "aria-hidden": "true"}),
      element("span", {class: "icon", "aria-hidden": "true",
        style: `background-position: -${node.icon * ICON}px 0`}),
      element("span", {class: "text", text: node.text}),
      element("span", {class: "compared", text: node.compared}));
    const item = element("li", {role: "treeitem", "aria-level": level, "aria-selected": "false",
      "aria-label": node.compared ? `${node.text}, ${node.compared}` : node.text,
      "aria-expanded": hasChildren ? String(isOpen) : undefined, tabindex: "-1",
      draggable: "true"}, row);
    item.dataset.tag = node.tag;
    item.dataset.path = JSON.stringify(path);
    this.items.set(node.tag, item);
    if (hasChildren) {
      const group = element("ul", {role: "group"});
      node.children.forEach((child, index) => group.append(this.item(child, level + 1,
        level === 1 ? {bank: path.bank, child: index, pattern: -1}
          : {bank: path.bank, child: path.child, pattern: index})));
      group.hidden = !isOpen;
      item.append(group);
    }
    return item;
  }

  tagOf(item) {
    return Number(item.dataset.tag);
  }

  focusable(item) {
    for (const other of this.root.querySelectorAll("[tabindex='0']")) {
      other.setAttribute("tabindex", "-1");
    }
    item?.setAttribute("tabindex", "0");
  }

  mark(item) {
    for (const other of this.root.querySelectorAll("[aria-selected=true]")) {
      other.setAttribute("aria-selected", "false");
    }
    item.setAttribute("aria-selected", "true");
    this.focusable(item);
  }

  select(item, focus = true) {
    this.selected = this.tagOf(item);
    this.mark(item);
    if (focus) {
      item.focus();
    }
    item.scrollIntoView({block: "nearest"});
  }

  setOpen(item, open) {
    if (!item.hasAttribute("aria-expanded")) {
      return;
    }
    item.setAttribute("aria-expanded", String(open));
    item.querySelector(":scope > [role=group]").hidden = !open;
    if (open) {
      this.open.add(this.tagOf(item));
    } else {
      this.open.delete(this.tagOf(item));
    }
  }

  toggle(item) {
    this.setOpen(item, item.getAttribute("aria-expanded") !== "true");
  }

  // Selects the node at a core path, opening what is closed above it.
  selectPath(path) {
    const item = [...this.items.values()].find((candidate) => {
      const at = JSON.parse(candidate.dataset.path);
      return at.bank === path.bank && at.child === path.child && at.pattern === path.pattern;
    });
    if (!item) {
      return;
    }
    for (let up = item.parentElement.closest("[role=treeitem]"); up; up = up.parentElement.closest("[role=treeitem]")) {
      this.setOpen(up, true);
    }
    this.select(item, this.root.contains(document.activeElement));
  }

  visible() {
    return [...this.root.querySelectorAll("[role=treeitem]")].filter((item) =>
      !item.parentElement.closest("[role=group][hidden]"));
  }

  onKey(event) {
    const item = event.target.closest("[role=treeitem]");
    if (!item || event.ctrlKey || event.metaKey || event.altKey) {
      return;
    }
    const shown = this.visible();
    const at = shown.indexOf(item);
    let next = null;
    switch (event.key) {
      case "ArrowDown":
        next = shown[at + 1];
        break;
      case "ArrowUp":
        next = shown[at - 1];
        break;
      case "Home":
        next = shown[0];
        break;
      case "End":
        next = shown[shown.length - 1];
        break;
      case "ArrowRight":
        if (item.getAttribute("aria-expanded") === "false") {
          this.setOpen(item, true);
        } else if (item.getAttribute("aria-expanded") === "true") {
          next = shown[at + 1];
        }
        break;
      case "ArrowLeft":
        if (item.getAttribute("aria-expanded") === "true") {
          this.setOpen(item, false);
        } else {
          next = item.parentElement.closest("[role=treeitem]");
        }
        break;
      default:
        return;
    }
    event.preventDefault();
    if (next) {
      this.select(next);
    }
  }
}
