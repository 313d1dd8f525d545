// Web MIDI for the core's MIDI layer: asked for only when a MIDI command first runs; ports are
// found by name, each open input queues what arrives until the receive takes it.
let access = null;
const open = new Map();  // the core's port numbers: {port, queue, queued} or {port}
let nextId = 1;

export async function requestAccess() {
  if (access) {
    return "";
  }
  if (!navigator.requestMIDIAccess) {
    return "none";
  }
  try {
    access = await navigator.requestMIDIAccess({sysex: true});
    return "";
  } catch (error) {
    return "refused";
  }
}

export function portLines() {
  const lines = ["Web MIDI"];
  for (const input of access.inputs.values()) {
    lines.push("<" + input.name);
  }
  for (const output of access.outputs.values()) {
    lines.push(">" + output.name);
  }
  return lines.join("\n");
}

function find(ports, name) {
  for (const port of ports.values()) {
    if (port.name === name) {
      return port;
    }
  }
  return null;
}

export function openInput(name) {
  const port = access && find(access.inputs, name);
  if (!port) {
    return "the port is not there";
  }
  const entry = {port, queue: [], queued: 0};
  entry.listener = (event) => {
    entry.queue.push(event.data);
    entry.queued += event.data.length;
  };
  port.onmidimessage = entry.listener;  // which opens the port
  const id = nextId++;
  open.set(id, entry);
  return "#" + id;
}

export function openOutput(name) {
  const port = access && find(access.outputs, name);
  if (!port) {
    return "the port is not there";
  }
  const id = nextId++;
  open.set(id, {port});
  return "#" + id;
}

export function pending(id) {
  return open.get(id)?.queued || 0;
}

// The first `count` bytes queued, in the order they came.
export function take(id, count) {
  const entry = open.get(id);
  const bytes = new Uint8Array(count);
  let at = 0;
  while (at < count && entry.queue.length) {
    const piece = entry.queue[0];
    const used = Math.min(piece.length, count - at);
    bytes.set(piece.subarray(0, used), at);
    at += used;
    if (used === piece.length) {
      entry.queue.shift();
    } else {
      entry.queue[0] = piece.subarray(used);
    }
  }
  entry.queued -= at;
  return bytes;
}

export function send(id, bytes) {
  try {
    open.get(id).port.send(bytes);
    return "";
  } catch (error) {
    return error.message || String(error);
  }
}

export function broken(id) {
  const entry = open.get(id);
  return entry && entry.port.state === "disconnected" ? "the port was disconnected" : "";
}

export function close(id) {
  const entry = open.get(id);
  if (entry?.listener && entry.port.onmidimessage === entry.listener) {
    entry.port.onmidimessage = null;
  }
  open.delete(id);
}
