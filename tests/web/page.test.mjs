// The page in headless Chromium, used as a person uses it: it loads cleanly, its worlds equal
// bramblex-run's bit for bit, profiles and links carry worlds both ways, a bad profile is refused
// with the simulator's message. BRAMBLEX_WEB names the built page, BRAMBLEX_RUN the runner.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const root = path.resolve(import.meta.dirname, "../..");
const site = process.env.BRAMBLEX_WEB ?? path.join(root, "build-web");
const runner = process.env.BRAMBLEX_RUN ?? path.join(root, "build/bin/bramblex-run");
const work = fs.mkdtempSync(path.join(os.tmpdir(), "bramblex-page-"));
const shots = path.join(site, "..", "build-web-shots");
let server, browser, origin;

before(async () => {
  server = spawn("/usr/bin/python3", ["-m", "http.server", "--bind", "127.0.0.1", "--directory", site, "0"],
                 { stdio: ["ignore", "pipe", "ignore"] });
  origin = await new Promise((resolve) => server.stdout.on("data", (data) => {
    const port = /port (\d+)/.exec(String(data));
    if (port) resolve(`http://127.0.0.1:${port[1]}`);
  }));
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
  });
  fs.mkdirSync(shots, { recursive: true });
});

after(async () => {
  await browser?.close();
  server?.kill();
  fs.rmSync(work, { recursive: true, force: true });
});

// A page opened at the link, stopped once its first world shows; its console errors collected.
async function open(link = "") {
  const tab = await browser.newPage();
  await tab.setViewport({ width: 1300, height: 1000 });
  tab.errors = [];
  tab.on("console", (m) => m.type() === "error" && tab.errors.push(m.text()));
  tab.on("pageerror", (e) => tab.errors.push(String(e)));
  const folder = fs.mkdtempSync(path.join(work, "downloads-"));
  const session = await tab.createCDPSession();
  await session.send("Browser.setDownloadBehavior", { behavior: "allowAndName", downloadPath: folder });
  tab.downloads = folder;
  await tab.goto(`${origin}/${link}`);
  await tab.waitForSelector("body[data-ready]");
  tab.firstWorldMs = await tab.$eval("body", (b) => Number(b.dataset.ready));
  await tab.click("#startsim"); // the page starts running: stopped for the test
  return tab;
}

// What a click on a save button downloads.
async function download(tab, button) {
  const before = new Set(fs.readdirSync(tab.downloads));
  await tab.click(button);
  for (const deadline = Date.now() + 10000; Date.now() < deadline;) {
    const name = fs.readdirSync(tab.downloads).find((n) => !before.has(n) && !n.endsWith(".crdownload"));
    if (name) return path.join(tab.downloads, name);
    await new Promise((r) => setTimeout(r, 50));
  }
  throw new Error(`${button} downloaded nothing; the page says: ${await text(tab, "#message")} ${fs.readdirSync(tab.downloads)}`);
}

const text = (tab, selector) => tab.$eval(selector, (e) => e.textContent);
const runnerCsv = (args, generations) => {
  const out = path.join(work, `runner-${Date.now()}.csv`);
  execFileSync(runner, [...args, "--generations", String(generations), "--stats", out]);
  return fs.readFileSync(out, "utf8");
};

async function stepped(tab, times) {
  for (let i = 0; i < times; ++i)
    await tab.click("#stepgeneration");
}

test("a seeded world equals bramblex-run's, shows without errors, and its link opens it again", async () => {
  const tab = await open("#seed=7&gridSizeX=30&gridSizeY=20&growthRate=5");
  await stepped(tab, 3);
  await tab.click("#startsim");
  await tab.waitForFunction(() => Number(document.getElementById("generation").textContent) >= 40);
  await tab.click("#startsim");
  const csv = fs.readFileSync(await download(tab, "#savestats"), "utf8");
  const generations = csv.trim().split("\n").length - 1;
  assert.equal(csv, runnerCsv(["--seed", "7", "--set", "gridSizeX=30", "--set", "gridSizeY=20", "--set",
                               "growthRate=5"], generations));
  const last = csv.trim().split("\n").at(-1).split(",");
  assert.deepEqual([await text(tab, "#generation"), await text(tab, "#orgs"), await text(tab, "#envs")],
                   [String(generations), last[1], last[2]]);

  const painted = await tab.$eval("#world", (c) => {
    const pixels = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    return { width: c.width, lit: pixels.filter((v, i) => i % 4 !== 3 && v > 0).length };
  });
  assert.ok(painted.width === 30 * 4 && painted.lit > 0, JSON.stringify(painted));
  await tab.screenshot({ path: path.join(shots, "seeded.png") });
  await tab.mouse.move(...(await tab.$eval("#world", (c) => [c.getBoundingClientRect().x + 6, c.getBoundingClientRect().y + 6])));
  assert.equal(await text(tab, "#csquare"), "2,2");

  await tab.click("#copylink");
  const link = await tab.$eval("#link", (e) => e.value);
  assert.match(link, /#seed=7&gridSizeX=30&gridSizeY=20&growthRate=5$/);
  const again = await open(link.slice(origin.length + 1));
  await stepped(again, 5);
  const rows = fs.readFileSync(await download(again, "#savestats"), "utf8");
  assert.ok(csv.startsWith(rows), "the link's world runs as the first");
  assert.deepEqual([...tab.errors, ...again.errors], []);
  console.log(`first world shown ${tab.firstWorldMs} ms after the page was opened`);
});

test("profiles go both ways between the page and bramblex-run; a bad one changes nothing", async () => {
  const tab = await open("#seed=11&gridSizeX=25&gridSizeY=25");
  await stepped(tab, 12);
  const generation = await text(tab, "#generation");
  const saved = await download(tab, "#savesim");
  // The runner continues the page's world as the page does.
  const continued = runnerCsv(["--seed", "3", "--profile", saved], 10);
  const input = await tab.$("#profilefile");
  await tab.$eval("#seedbox", (e) => e.value = "3");
  await input.uploadFile(saved);
  await tab.waitForFunction((g) => document.getElementById("generation").textContent === g, {}, generation);
  await stepped(tab, 10);
  assert.equal(fs.readFileSync(await download(tab, "#savestats"), "utf8"), continued);

  // The runner's profile loads on the page and comes back byte for byte.
  const fromRunner = path.join(work, "from-runner.bx2");
  execFileSync(runner, ["--seed", "5", "--set", "gridSizeX=15", "--generations", "9", "--save", fromRunner]);
  await tab.evaluate((bytes) => { // dropped on the page
    const files = new DataTransfer();
    files.items.add(new File([new Uint8Array(bytes)], "from-runner.bx2"));
    document.body.dispatchEvent(new DragEvent("drop", { dataTransfer: files, bubbles: true }));
  }, [...fs.readFileSync(fromRunner)]);
  await tab.waitForFunction(() => document.getElementById("message").textContent.includes("from-runner.bx2 loaded"));
  assert.deepEqual(fs.readFileSync(await download(tab, "#savesim")), fs.readFileSync(fromRunner));

  const bad = path.join(work, "bad.bx2");
  fs.writeFileSync(bad, fs.readFileSync(fromRunner, "latin1").split("\r\n").slice(0, 20).join("\r\n"), "latin1");
  let expected = "";
  try {
    execFileSync(runner, ["--profile", "bad.bx2", "--generations", "0"], { cwd: work, stdio: "pipe" });
  } catch (e) {
    expected = String(e.stderr).replace("bramblex-run: ", "").trim();
  }
  assert.ok(expected.startsWith("bad.bx2, line "), expected);
  await input.uploadFile(bad);
  await tab.waitForFunction((m) => document.getElementById("message").textContent === m, {}, expected);
  assert.equal(await text(tab, "#generation"), "9");
  assert.deepEqual(fs.readFileSync(await download(tab, "#savesim")), fs.readFileSync(fromRunner));
  await tab.screenshot({ path: path.join(shots, "bad-profile.png") });
  assert.deepEqual(tab.errors, []);
});

test("a refused option is named with --set's message; a hidden tab runs nothing", async () => {
  const tab = await open("#seed=2&growthRate=999");
  assert.match(await text(tab, "#message"), /growthRate.*0\.\.255/);
  await tab.$eval("#option-decayRate", (e) => e.value = "-4");
  await tab.click("#applyoptions");
  assert.match(await text(tab, "#message"), /decayRate/);

  await tab.click("#startsim");
  const other = await browser.newPage();
  await other.bringToFront();
  await new Promise((r) => setTimeout(r, 300));
  const hidden = await text(tab, "#generation");
  await new Promise((r) => setTimeout(r, 700));
  assert.equal(await text(tab, "#generation"), hidden);
  await tab.bringToFront();
  await tab.waitForFunction((g) => document.getElementById("generation").textContent !== g, {}, hidden);
});

test("speed of a hidden 100x100 world against bramblex-run (best of 3, reported)", async () => {
  const tab = await open("#seed=7&gridSizeX=100&gridSizeY=100");
  const args = ["--seed", "7", "--set", "gridSizeX=100", "--set", "gridSizeY=100", "--generations", "2000"];
  let page = 0, native = 0;
  for (let round = 0; round < 3; ++round) {
    page = Math.max(page, await tab.evaluate(() => window.bramblex.measure(2000)));
    const started = process.hrtime.bigint();
    execFileSync(runner, args);
    native = Math.max(native, 2000 / (Number(process.hrtime.bigint() - started) / 1e9));
  }
  console.log(`generations a second: page ${page.toFixed(0)}, bramblex-run ${native.toFixed(0)}, ratio ${(page / native).toFixed(2)}`);
});
