// The user's files: opened through the browser's pickers into the core's file system (the
// site's storage), saved back through the file's handle where the browser has the File System
// Access API, and downloaded where it has not. Bank names travel with their dump.
import * as dialogs from "./dialogs.js";

const SIDES = ["left", "right"];
const handles = new Map();  // a path in the core's file system -> the user's file it stands for
let folder = null;          // the folder the user opened with "Open folder…"

export const hasFileHandles = typeof window.showOpenFilePicker === "function";
export const hasFolders = typeof window.showDirectoryPicker === "function";

function paneFolder(pane) {
  return "/korvel/files/" + SIDES[pane];
}

function baseName(path) {
  return path.slice(path.lastIndexOf("/") + 1);
}

function write(core, path, bytes) {
  core.FS.mkdirTree(path.slice(0, path.lastIndexOf("/")));
  core.FS.writeFile(path, bytes);
}

function remove(core, path) {
  try {
    core.FS.unlink(path);
  } catch (error) {
    // not there: nothing to take away
  }
}

// Puts the picked files into the pane's folder: the dump, and the bank names that came with it
// or lie beside it in the opened folder. A side file left from an earlier dump of the same name
// is taken away, so that no names are read that are not this dump's.
async function place(core, pane, dumpFile, handle, others = []) {
  const path = paneFolder(pane) + "/" + dumpFile.name;
  write(core, path, new Uint8Array(await dumpFile.arrayBuffer()));
  const sidePath = core.now("korvel_side_file", "string", ["string"], [path]);
  const sideName = baseName(sidePath);
  remove(core, sidePath);
  let side = others.find((file) => file.name === sideName);
  if (!side && folder && handle && (await folder.resolve(handle))) {
    side = await folder.getFileHandle(sideName).then((h) => h.getFile(), () => null);
  }
  if (side) {
    write(core, sidePath, new Uint8Array(await side.arrayBuffer()));
  }
  if (handle) {
    handles.set(path, handle);
  } else {
    handles.delete(path);
  }
  core.now("korvel_forget_written", null, [], []);
  return path;
}

function pickWithInput() {
  const input = document.getElementById("open-input");
  input.value = "";
  return new Promise((resolve) => {
    const done = () => {
      input.removeEventListener("change", done);
      input.removeEventListener("cancel", done);
      resolve([...input.files]);
    };
    input.addEventListener("change", done);
    input.addEventListener("cancel", done);
    input.click();
  });
}

const DUMP_TYPES = [{description: "W2 dumps", accept: {"application/octet-stream": [".syx"]}}];

export async function chooseOpen(core, pane) {
  if (hasFileHandles) {
    try {
      const [handle] = await window.showOpenFilePicker({types: DUMP_TYPES});
      return await place(core, pane, await handle.getFile(), handle);
    } catch (error) {
      return "";  // the picker was closed
    }
  }
  const files = await pickWithInput();
  const dump = files.find((file) => /\.syx$/i.test(file.name)) || files[0];
  return dump ? place(core, pane, dump, null, files.filter((file) => file !== dump)) : "";
}

// Files dropped from the desktop onto a pane: their paths in the core's file system.
export async function placeDropped(core, pane, files) {
  const dumps = files.filter((file) => !/\.bnl$/i.test(file.name));
  const paths = [];
  for (const [index, dump] of dumps.entries()) {
    // Two dumps open in the left and the right pane, as on the desktop.
    const target = dumps.length >= 2 ? index : pane;
    paths.push(await place(core, target, dump, null, files));
  }
  return paths;
}

export async function chooseSave(core, pane, proposed) {
  if (typeof window.showSaveFilePicker === "function") {
    try {
      const handle = await window.showSaveFilePicker({suggestedName: proposed, types: DUMP_TYPES});
      const path = paneFolder(pane) + "/" + handle.name;
      handles.set(path, handle);
      return path;
    } catch (error) {
      return "";
    }
  }
  const name = await dialogs.saveAs(proposed);
  if (!name) {
    return "";
  }
  const path = paneFolder(pane) + "/" + baseName(name);
  handles.delete(path);
  return path;
}

export async function openFolder() {
  try {
    folder = await window.showDirectoryPicker({mode: "readwrite"});
    return folder.name;
  } catch (error) {
    return "";
  }
}

export function download(core, path) {
  const blob = new Blob([core.FS.readFile(path)], {type: "application/octet-stream"});
  const link = document.createElement("a");
  link.href = URL.createObjectURL(blob);
  link.download = baseName(path);
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

async function writeThrough(handle, bytes) {
  const writable = await handle.createWritable();
  await writable.write(bytes);
  await writable.close();
}

// Hands on what a save wrote: each file through its handle, bank names into the opened folder
// beside their dump, the rest as downloads. Says where the bank names went.
export async function handOn(core, written) {
  const notes = [];
  for (const path of written) {
    const bytes = core.FS.readFile(path);
    const dump = written.find((other) => other !== path &&
      core.now("korvel_side_file", "string", ["string"], [other]) === path);
    const name = baseName(path);
    try {
      if (handles.has(path)) {
        await writeThrough(handles.get(path), bytes);
      } else if (dump && handles.has(dump) && folder && (await folder.resolve(handles.get(dump)))) {
        await writeThrough(await folder.getFileHandle(name, {create: true}), bytes);
        notes.push("its bank names are in " + name + " beside it in " + folder.name);
      } else {
        download(core, path);
        notes.push(dump ? "its bank names are in " + name + ", downloaded" : name + " downloaded");
      }
    } catch (error) {
      notes.push(name + " could not be written: " + (error.message || error));
    }
  }
  return notes;
}
