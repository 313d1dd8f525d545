// The site in Debian's Chromium, headless, with a virtual W2 behind a fake Web MIDI: two dumps
// opened, a track copied with the keys, a bank renamed, undone and redone, compared and saved
// (checked against korvel-cli), a receive into the backups, a send with the backup first (paced
// as the cable is), an offline reload, and a browser without Web MIDI. Then the benchmarks.
// Environment: KORVEL_SITE (the site's address), KORVEL_BLANK (a blank page on the same
// server), KORVEL_CLI, KORVEL_MAKE_DUMP, KORVEL_OUT (screenshots and files), and optionally
// KORVEL_REBUILD_NS (the desktop build's Rebuild of one full tree).
const {chromium} = require("playwright-core");
const fs = require("fs");
const path = require("path");
const zlib = require("zlib");
const {execFileSync} = require("child_process");

const env = (name) => process.env[name] || "";
const out = env("KORVEL_OUT");
const site = env("KORVEL_SITE");
let passed = 0;
let failed = 0;
let current = null;  // the page a failure is shown from

function check(what, ok, detail = "") {
  if (ok) {
    passed++;
    console.log("ok: " + what);
  } else {
    failed++;
    console.log("FAILED: " + what + (detail ? " (" + detail + ")" : ""));
  }
}

function messagesOf(bytes) {
  const messages = [];
  for (let at = 0; at < bytes.length;) {
    const end = bytes.indexOf(0xf7, at);
    messages.push([...bytes.subarray(at, end + 1)]);
    at = end + 1;
  }
  return messages;
}

// Injected before the page loads: a W2 on "W2 MIDI Out" (which sends its memory, one message
// an event, soon after the port is opened) and "W2 MIDI In" (which records what comes, with
// the time).
function fakeWebMidi(memory) {
  const w2 = {memory, received: [], asked: null};
  window.__w2 = w2;
  const port = (id, name, type) => ({id, name, type, manufacturer: "Korvel tests",
    state: "connected", connection: "closed", open() { return Promise.resolve(this); },
    close() { return Promise.resolve(this); }});
  const input = port("in-1", "W2 MIDI Out", "input");
  let listener = null;
  Object.defineProperty(input, "onmidimessage", {get: () => listener, set(handler) {
    listener = handler;
    if (!handler) {
      return;
    }
    let next = 0;
    const tick = () => {
      if (listener !== handler || next >= w2.memory.length) {
        return;
      }
      handler({data: new Uint8Array(w2.memory[next++])});
      setTimeout(tick, 1);
    };
    setTimeout(tick, 300);
  }});
  const output = port("out-1", "W2 MIDI In", "output");
  output.send = (data) => w2.received.push({at: performance.now(), bytes: Array.from(data)});
  navigator.requestMIDIAccess = async (options) => {
    w2.asked = options;
    return {inputs: new Map([[input.id, input]]), outputs: new Map([[output.id, output]]),
      sysexEnabled: true, onstatechange: null};
  };
}

function noFileHandles() {
  delete window.showOpenFilePicker;
  delete window.showSaveFilePicker;
  delete window.showDirectoryPicker;
  if (!localStorage.getItem("korvel.INI")) {
    localStorage.setItem("korvel.INI", "[MIDI]\nInput Port=W2 MIDI Out\nOutput Port=W2 MIDI In\n" +
      "Message Pause=5\nReceive Idle=1000\n");
  }
}

async function ready(page) {
  await page.waitForSelector("body[data-ready=true] [role=treeitem]", {timeout: 30000});
}

async function shot(page, name) {
  await page.screenshot({path: path.join(out, name + ".png")});
}

async function openInPane(page, side, file) {
  const [chooser] = await Promise.all([page.waitForEvent("filechooser"),
    page.getByRole("button", {name: side + " Open", exact: true}).click()]);
  const started = Date.now();
  await chooser.setFiles(file);
  await page.waitForFunction(([label, name]) =>
    document.querySelector(`[aria-label="${label}"]`).value === name,
  [side + " file name", path.basename(file)]);
  return Date.now() - started;
}

function tree(page, side) {
  return page.getByRole("tree", {name: side + " tree"});
}

async function selectedLabel(page, side) {
  return tree(page, side).locator("[aria-selected=true]").first().getAttribute("aria-label");
}

// Clicks the first node of the tree, then walks with the keys.
async function walk(page, side, keys) {
  await tree(page, side).locator("[role=treeitem]").first().locator(".text").first().click();
  for (const key of keys) {
    await page.keyboard.press(key);
  }
}

function dialog(page, name) {
  return page.getByRole("dialog", {name});
}

async function run() {
  fs.mkdirSync(out, {recursive: true});
  const file = (name) => path.join(out, name);
  execFileSync(env("KORVEL_MAKE_DUMP"), [file("left.syx")]);
  execFileSync(env("KORVEL_MAKE_DUMP"), [file("right.syx"), "150", "80"]);
  fs.rmSync(file("expected.syx"), {force: true});
  fs.rmSync(file("expected.bnl"), {force: true});
  execFileSync(env("KORVEL_CLI"), ["copy", file("left.syx"), "B01T01", file("right.syx"), "B01T02",
    "-o", file("expected.syx")]);
  execFileSync(env("KORVEL_CLI"), ["rename", file("expected.syx"), "B02", "Bass \u03a9"]);
  const memory = messagesOf(fs.readFileSync(file("left.syx")));

  const browser = await chromium.launch({executablePath: "/usr/bin/chromium", args: ["--no-sandbox"]});
  const context = await browser.newContext({acceptDownloads: true, viewport: {width: 1200, height: 760}});
  await context.addInitScript(fakeWebMidi, memory);
  await context.addInitScript(noFileHandles);
  const page = await context.newPage();
  current = page;
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(site);
  await ready(page);
  check("the window has two trees and the pane buttons by their names",
    (await page.getByRole("tree").count()) === 2 &&
    (await page.getByRole("button", {name: "Right Save", exact: true}).count()) === 1 &&
    (await page.getByRole("button", {name: "Copy left to right"}).count()) === 1);

  await openInPane(page, "Left", file("left.syx"));
  await openInPane(page, "Right", file("right.syx"));
  check("both dumps open", (await tree(page, "Left").locator("[role=treeitem][aria-level='1']").count()) === 12);

  await walk(page, "Left", ["ArrowRight", "ArrowDown", "ArrowDown"]);
  check("the arrows select Track 1 of the left tree", (await selectedLabel(page, "Left")) === "Track 1");
  await walk(page, "Right", ["ArrowRight", "ArrowDown", "ArrowDown", "ArrowDown"]);
  check("and Track 2 of the right tree", (await selectedLabel(page, "Right")) === "Track 2");
  await page.keyboard.press("Control+ArrowRight");
  await page.waitForSelector(".pane[aria-label=Right] .unsaved-dot:not([hidden])");
  check("Ctrl+Right copies the track: the right dump has unsaved changes", true);

  await tree(page, "Right").getByRole("treeitem", {name: "Bank 02", exact: true}).locator(".text").first().click();
  await page.keyboard.press("F2");
  await dialog(page, "Rename").getByRole("textbox", {name: "Bank name"}).fill("Bass \u03a9");
  await page.keyboard.press("Enter");
  const renamed = tree(page, "Right").getByRole("treeitem", {name: "02 Bass \u03a9", exact: true});
  await renamed.waitFor();
  check("F2 renames the bank", true);
  await page.keyboard.press("Control+z");
  await tree(page, "Right").getByRole("treeitem", {name: "Bank 02", exact: true}).waitFor();
  await page.keyboard.press("Control+y");
  await renamed.waitFor();
  check("Ctrl+Z undoes the name and Ctrl+Y does it again", true);

  await page.keyboard.press("Control+d");
  await page.waitForSelector("body.comparing");
  const differs = await tree(page, "Right").locator("[role=treeitem][aria-label$=', differs']").count();
  check("Ctrl+D compares: nodes are marked as they differ", differs > 0, differs + " marked");
  await shot(page, "compared");
  await page.keyboard.press("Control+d");

  const downloads = [];
  page.on("download", (download) => downloads.push(download));
  await renamed.locator(".text").first().click();
  await page.keyboard.press("Control+s");
  const saveAs = dialog(page, "Save As");
  await saveAs.getByRole("button", {name: "Save"}).click();
  await page.waitForFunction(() => document.getElementById("status").textContent.includes("bank names"));
  await new Promise((resolve) => setTimeout(resolve, 500));
  for (const download of downloads) {
    await download.saveAs(file("saved-" + download.suggestedFilename()));
  }
  const same = (a, b) => fs.existsSync(a) && fs.existsSync(b) && fs.readFileSync(a).equals(fs.readFileSync(b));
  check("the saved dump equals korvel-cli's copy, byte for byte", same(file("saved-right.syx"), file("expected.syx")));
  check("and its bank names equal korvel-cli's side file", same(file("saved-right.bnl"), file("expected.bnl")));
  check("the status line says where the bank names went",
    (await page.locator("#status").textContent()).includes("right.bnl, downloaded"));

  await page.getByRole("button", {name: "Left Receive", exact: true}).click();
  await dialog(page, "Receive from W2").waitFor();
  await shot(page, "receiving");
  await dialog(page, "Receive from W2").waitFor({state: "detached", timeout: 30000});
  const received = await page.locator("#status").textContent();
  check("Receive takes the W2's dump into the left pane", received.includes("Received " + memory.length + " messages"), received);
  check("and asked for Web MIDI with System Exclusive", (await page.evaluate(() => window.__w2.asked?.sysex)) === true);
  await page.getByRole("button", {name: "Left Open", exact: true}).click({button: "right"});
  const backupEntry = page.getByRole("menu").getByRole("menuitem", {name: /\d{4}-\d\d-\d\d/});
  check("the backup is listed in Backups", (await backupEntry.count()) === 1);
  check("and can be downloaded", (await page.getByRole("button", {name: /Download the backup/}).count()) === 1);
  await shot(page, "backups");
  await page.keyboard.press("Escape");

  await page.getByRole("button", {name: "Right Send", exact: true}).click();
  const question = page.getByRole("dialog", {name: "Korvel"});
  check("Send offers the backup first, checked", await question.getByRole("checkbox").isChecked());
  await question.getByRole("button", {name: "Send"}).click();
  await dialog(page, "Back up the W2").waitFor();
  await dialog(page, "Send to W2").waitFor({timeout: 30000});
  await shot(page, "sending");
  const close = page.getByRole("dialog", {name: "Korvel"}).getByRole("button", {name: "Close"});
  await close.waitFor({timeout: 120000});
  await close.click();
  const sent = await page.evaluate(() => window.__w2.received);
  const savedBytes = fs.readFileSync(file("saved-right.syx"));
  check("the W2 got the right dump, byte for byte",
    Buffer.from(sent.flatMap((message) => message.bytes)).equals(savedBytes));
  const cable = sent.slice(0, -1).reduce((sum, message) => sum + message.bytes.length * 0.32 + 5, 0);
  const took = sent[sent.length - 1].at - sent[0].at;
  const pace = `${sent.length} messages in ${took.toFixed(0)} ms, the cable's time ${cable.toFixed(0)} ms`;
  console.log("bench: send " + pace);
  check("paced within 10% of the cable's time", Math.abs(took - cable) <= 0.1 * cable, pace);
  check("what the W2 held before is kept",
    (await page.locator("#status").textContent()).includes("what the W2 held before is kept in"));

  const from = tree(page, "Left").getByRole("treeitem", {name: "Track 3", exact: true}).first();
  const onto = tree(page, "Right").getByRole("treeitem", {name: "Track 4", exact: true}).first();
  await from.locator(".text").first().dragTo(onto.locator(".text").first());
  await tree(page, "Right").getByRole("treeitem", {name: "B01 T03", exact: true}).waitFor({timeout: 5000})
    .then(() => check("a track dragged onto the other tree is copied there", true),
      () => check("a track dragged onto the other tree is copied there", false));

  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  await ready(page);
  check("the site loads again offline", (await page.getByRole("tree").count()) === 2);
  await context.setOffline(false);
  check("no errors in the page", errors.length === 0, errors.join("; "));

  // Benchmarks: warm loads of the site and of a blank page from the same server.
  const timeLoad = async (url, selector) => {
    const started = Date.now();
    await page.goto(url, {waitUntil: "load"});
    if (selector) {
      await page.waitForSelector(selector, {timeout: 30000});
    }
    return Date.now() - started;
  };
  const loads = [];
  const blanks = [];
  for (let i = 0; i < 3; ++i) {
    blanks.push(await timeLoad(env("KORVEL_BLANK"), null));
    loads.push(await timeLoad(site, "body[data-ready=true] [role=treeitem]"));
  }
  const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
  const load = median(loads);
  const blank = Math.max(1, median(blanks));
  const openLeft = await openInPane(page, "Left", file("left.syx"));
  const openRight = await openInPane(page, "Right", file("right.syx"));
  const rebuild = Number(env("KORVEL_REBUILD_NS")) / 1e6;
  let size = 0;
  for (const name of fs.readdirSync(env("KORVEL_SITE_DIR"))) {
    size += zlib.gzipSync(fs.readFileSync(path.join(env("KORVEL_SITE_DIR"), name)), {level: 9}).length;
  }
  const report = [
    `load to the first drawn tree, warm: ${load} ms; a blank page: ${blank} ms; ratio ${(load / blank).toFixed(1)} (target within 1500 ms)`,
    `open a full dump and draw its tree, both panes: ${openLeft + openRight} ms` +
      (rebuild ? `; the desktop's Rebuild of both: ${(2 * rebuild).toFixed(2)} ms; ratio ${((openLeft + openRight) / (2 * rebuild)).toFixed(0)}` : ""),
    `the site compressed (gzip -9): ${(size / 1024).toFixed(0)} KiB (target 1024 KiB)`,
  ];
  fs.writeFileSync(file("bench.txt"), report.join("\n") + "\n");
  report.forEach((line) => console.log("bench: " + line));
  check("warm load within 1.5 s", load <= 1500, load + " ms");
  check("the site is at most 1 MB compressed", size <= 1024 * 1024, size + " bytes");

  // A browser without Web MIDI.
  const bare = await browser.newContext();
  await bare.addInitScript(() => {
    delete Navigator.prototype.requestMIDIAccess;
    delete navigator.requestMIDIAccess;
  });
  const safari = await bare.newPage();
  await safari.goto(site);
  await ready(safari);
  await safari.getByRole("button", {name: "Left Receive", exact: true}).click();
  const words = safari.getByRole("dialog", {name: "Korvel"});
  await words.waitFor();
  await safari.screenshot({path: path.join(out, "no-web-midi.png")});
  check("without Web MIDI the MIDI commands say which browsers have it",
    (await words.textContent()).includes("Chrome and Edge have it"));
  await browser.close();
}

run().catch(async (error) => {
  console.log("FAILED: " + (error.stack || error));
  failed++;
  await current?.screenshot({path: path.join(out, "failure.png")}).catch(() => {});
}).finally(() => {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
});
