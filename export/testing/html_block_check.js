// Loaded into an exported HTML page by the browser checks: once the page has loaded, every
// positioned block must sit where its style puts it and every picture must have loaded. The
// verdict lands on the body as the attribute data-check, for --dump-dom to show.
window.addEventListener("load", () => {
  const bad = [];
  const blocks = document.querySelectorAll("body > div");
  for (const block of blocks) {
    const r = block.getBoundingClientRect();
    const left = parseFloat(block.style.left), top = parseFloat(block.style.top);
    if (Math.abs(r.left + window.scrollX - left) > 0.5 || Math.abs(r.top + window.scrollY - top) > 0.5)
      bad.push("block at " + left + "," + top + " shown at " + r.left + "," + r.top);
  }
  for (const image of document.images)
    if (!image.complete || image.naturalWidth <= 0) bad.push("picture not loaded: " + image.getAttribute("src"));
  document.body.setAttribute("data-check",
    bad.length ? "BAD " + bad.join("; ") : "OK " + blocks.length + " blocks " + document.images.length + " pictures");
});
