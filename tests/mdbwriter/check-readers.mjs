// Reads the written database back through an independent reader and
// compares every value with the data set.
//
//   node check-readers.mjs mdbtools   DATABASE.mdb DATA.csv
//   node check-readers.mjs mdb-reader DATABASE.mdb DATA.csv
//
// mdb-reader is imported from the node_modules next to this script (the
// test set-up runs npm ci there).

import { spawnSync } from "node:child_process";
import { readFileSync } from "node:fs";

const TABLE = "六角ボルト・ナット";
// The table's fields: every column of the data set but `sources`, in its
// order, in full-width letters and digits (data/README.md). Set from the
// data set's header.
let FIELDS = [];
const fullWidth = (name) => [...name].map((c) => String.fromCharCode(c.charCodeAt(0) + 0xfee0)).join("");

const failures = [];
function check(ok, message) {
    if (!ok) failures.push(message);
}

// RFC 4180 records; an unquoted empty field is null, so that NULL and an
// empty text stay apart.
function parseCsv(text) {
    const records = [];
    let record = [], field = "", quoted = false, wasQuoted = false, started = false;
    const endField = () => {
        record.push(field === "" && !wasQuoted ? null : field);
        field = ""; wasQuoted = false;
    };
    for (let i = 0; i < text.length; ++i) {
        const c = text[i];
        if (quoted) {
            if (c === '"' && text[i + 1] === '"') { field += '"'; ++i; }
            else if (c === '"') quoted = false;
            else field += c;
        } else if (c === '"') { quoted = wasQuoted = started = true; }
        else if (c === ",") { endField(); started = true; }
        else if (c === "\n" || c === "\r") {
            if (c === "\r" && text[i + 1] === "\n") ++i;
            if (started || field !== "" || record.length) { endField(); records.push(record); }
            record = []; started = false;
        } else { field += c; started = true; }
    }
    if (started || field !== "" || record.length) { endField(); records.push(record); }
    return records;
}

function expectedRows(csvPath) {
    const [header, ...rows] = parseCsv(readFileSync(csvPath, "utf8"));
    const columns = header.filter((f) => f !== "sources");
    FIELDS = columns.map(fullWidth);
    const index = columns.map((f) => header.indexOf(f));
    return rows.map((r) => index.map((i, c) => {
        const cell = r[i];
        if (cell === null || cell === "") return null;
        return c === 0 ? cell : Number(cell);
    }));
}

// `show` turns an expected number into what the reader is able to show.
function compareRows(reader, actual, expected, show) {
    check(actual.length === expected.length,
          `${reader}: ${actual.length} rows, expected ${expected.length}`);
    for (let r = 0; r < Math.min(actual.length, expected.length); ++r) {
        for (let c = 0; c < FIELDS.length; ++c) {
            const want = expected[r][c], got = actual[r][c];
            const ok = want === null ? got === null
                     : c === 0 ? got === want
                     : typeof got === "number" && got === show(want);
            check(ok, `${reader}: row ${r + 1} (${expected[r][0]}) ${FIELDS[c]}: ` +
                      `got ${JSON.stringify(got)}, expected ${JSON.stringify(want)}`);
        }
    }
}

// libmdb reports what it finds odd on stderr and reads on: any such warning
// counts as a failure.
function run(tool, ...args) {
    const r = spawnSync(tool, args, { encoding: "utf8" });
    if (r.error) throw r.error;
    check(r.status === 0, `${tool} exited with ${r.status}`);
    check(r.stderr === "", `${tool} warned: ${r.stderr.trim()}`);
    return r.stdout;
}

function viaMdbtools(db, expected) {
    const tables = run("mdb-tables", "-1", db).split("\n").filter((l) => l !== "");
    check(JSON.stringify(tables) === JSON.stringify([TABLE]),
          `mdb-tables: ${JSON.stringify(tables)}`);

    const schema = run("mdb-schema", "-T", TABLE, db, "access");
    const columns = [...schema.matchAll(/^\s*\[([^\]]+)\]\s+([^,\n]+?),?\s*$/gm)]
        .map((m) => [m[1], m[2]]);
    const wantColumns = FIELDS.map((f, i) => [f, i === 0 ? "Text (50)" : "Double"]);
    check(JSON.stringify(columns) === JSON.stringify(wantColumns),
          `mdb-schema: ${JSON.stringify(columns)}`);

    const [header, ...rows] = parseCsv(run("mdb-export", db, TABLE));
    check(JSON.stringify(header) === JSON.stringify(FIELDS),
          `mdb-export header: ${JSON.stringify(header)}`);
    const values = rows.map((r) => r.map((cell, c) => (cell === null || c === 0 ? cell : Number(cell))));
    // libmdb prints a Double with 16 significant digits.
    compareRows("mdb-export", values, expected, (x) => Number(x.toPrecision(16)));
}

async function viaMdbReader(db, expected) {
    const { default: MDBReader } = await import("mdb-reader");
    const reader = new MDBReader(readFileSync(db));
    check(JSON.stringify(reader.getTableNames()) === JSON.stringify([TABLE]),
          `mdb-reader tables: ${JSON.stringify(reader.getTableNames())}`);
    const table = reader.getTable(TABLE);
    const columns = table.getColumns().map((c) => [c.name, c.type]);
    const wantColumns = FIELDS.map((f, i) => [f, i === 0 ? "text" : "double"]);
    check(JSON.stringify(columns) === JSON.stringify(wantColumns),
          `mdb-reader columns: ${JSON.stringify(columns)}`);
    check(table.rowCount === expected.length, `mdb-reader rowCount ${table.rowCount}`);
    const rows = table.getData().map((row) => FIELDS.map((f) => row[f]));
    compareRows("mdb-reader", rows, expected, (x) => x);
}

const [mode, db, csv] = process.argv.slice(2);
const expected = expectedRows(csv);
if (mode === "mdbtools") viaMdbtools(db, expected);
else if (mode === "mdb-reader") await viaMdbReader(db, expected);
else throw new Error(`unknown reader ${mode}`);

for (const f of failures) console.error(f);
if (failures.length) process.exit(1);
console.log(`${mode}: ${expected.length} x ${FIELDS.length} values as in ${csv}`);
